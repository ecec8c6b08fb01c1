<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en">
<context>
    <name>QMessageBox</name>
    <message>
        <source>Show Details...</source>
        <translation>Show Details...</translation>
    </message>
    <message>
        <source>Hide Details...</source>
        <translation>Hide Details...</translation>
    </message>
</context>
<context>
    <name>QPlatformTheme</name>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>&amp;Yes</source>
        <translation>&amp;Yes</translation>
    </message>
    <message>
        <source>&amp;No</source>
        <translation>&amp;No</translation>
    </message>
    <message>
        <source>Apply</source>
        <translation>Apply</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>Discard</source>
        <translation>Discard</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Help</translation>
    </message>
    <message>
        <source>Reset</source>
        <translation>Reset</translation>
    </message>
    <message>
        <source>Restore Defaults</source>
        <translation>Restore Defaults</translation>
    </message>
</context>
<context>
    <name>QTabBar</name>
    <message>
        <source>Scroll Left</source>
        <translation>Scroll Left</translation>
    </message>
    <message>
        <source>Scroll Right</source>
        <translation>Scroll Right</translation>
    </message>
</context>
<context>
    <name>relicor::AppInfo</name>
    <message>
        <source>proprietary; all rights reserved</source>
        <translation>proprietary; all rights reserved</translation>
    </message>
    <message>
        <source>%1 item</source>
        <translation>%1 item</translation>
    </message>
    <message>
        <source>%1 items</source>
        <translation>%1 items</translation>
    </message>
    <message>
        <source>Relicor %1

The item pool keeper&apos;s tool for a Diablo I clan.

Licence: %2
Home page: %3</source>
        <translation>Relicor %1

The item pool keeper&apos;s tool for a Diablo I clan.

Licence: %2
Home page: %3</translation>
    </message>
    <message>
        <source>no pool</source>
        <translation>no pool</translation>
    </message>
    <message>
        <source>Pool: %1</source>
        <translation>Pool: %1</translation>
    </message>
    <message>
        <source>No pool: Datei &gt; Open Pool…</source>
        <translation>No pool: File &gt; Open Pool…</translation>
    </message>
</context>
<context>
    <name>relicor::DatabaseWindow</name>
    <message>
        <source>Are you sure to remove item from list?</source>
        <translation>Remove the item from the list?</translation>
    </message>
    <message>
        <source>Are you sure write the current loaded list to database file?</source>
        <translation>Write the list as it is now to the database file?</translation>
    </message>
    <message>
        <source>Do you want to save made changes to Database?</source>
        <translation>Save the changes to the database?</translation>
    </message>
    <message>
        <source>Database Dupes&amp;Hacks</source>
        <translation>Database of dupes and hacks</translation>
    </message>
    <message>
        <source>ID</source>
        <translation>ID</translation>
    </message>
    <message>
        <source>Type</source>
        <translation>Type</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>Delete Item from Database</source>
        <translation>Delete the item from the database</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>Save List to Database</source>
        <translation>Save the list to the database</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>Close this window</source>
        <translation>Close this window</translation>
    </message>
    <message>
        <source>%1 entries loaded</source>
        <translation>%1 entries loaded</translation>
    </message>
    <message>
        <source>Item %1</source>
        <translation>Item %1</translation>
    </message>
    <message>
        <source>Type %1</source>
        <translation>Type %1</translation>
    </message>
</context>
<context>
    <name>relicor::ItemDumpWindow</name>
    <message>
        <source>Data Window</source>
        <translation>Data Window</translation>
    </message>
    <message>
        <source>Fields of the record</source>
        <translation>Fields of the record</translation>
    </message>
    <message>
        <source>Bytes of the item record</source>
        <translation>Bytes of the item record</translation>
    </message>
</context>
<context>
    <name>relicor::MainWindow</name>
    <message>
        <source>&amp;Datei</source>
        <translation>&amp;File</translation>
    </message>
    <message>
        <source>Import from save game…</source>
        <translation>Import from save game…</translation>
    </message>
    <message>
        <source>Einstellungen</source>
        <translation>Options</translation>
    </message>
    <message>
        <source>Beenden</source>
        <translation>E&amp;xit</translation>
    </message>
    <message>
        <source>&amp;Text</source>
        <translation>&amp;Text</translation>
    </message>
    <message>
        <source>Start Creation</source>
        <translation>Create item list</translation>
    </message>
    <message>
        <source>&amp;HTML</source>
        <translation>&amp;HTML</translation>
    </message>
    <message>
        <source>Set &amp;Pool-Directory</source>
        <translation>Set &amp;pool directory</translation>
    </message>
    <message>
        <source>Set &amp;Sent-Directory</source>
        <translation>Set &amp;sent directory</translation>
    </message>
    <message>
        <source>&amp;Subdirectories</source>
        <translation>Include s&amp;ubdirectories</translation>
    </message>
    <message>
        <source>St&amp;art creation</source>
        <translation>Cre&amp;ate pages</translation>
    </message>
    <message>
        <source>&amp;View</source>
        <translation>&amp;View</translation>
    </message>
    <message>
        <source>&amp;Members</source>
        <translation>&amp;Members</translation>
    </message>
    <message>
        <source>E&amp;xtras</source>
        <translation>&amp;Tools</translation>
    </message>
    <message>
        <source>Quick Sender Assign</source>
        <translation>Assign sender</translation>
    </message>
    <message>
        <source>Quick Point Assign</source>
        <translation>Assign points</translation>
    </message>
    <message>
        <source>Quick Date Assign</source>
        <translation>Assign date</translation>
    </message>
    <message>
        <source>Mark as PUBLIC</source>
        <translation>Mark as public</translation>
    </message>
    <message>
        <source>Mark as CLAN-ONLY</source>
        <translation>Mark as clan-only</translation>
    </message>
    <message>
        <source>Prepare Item to send</source>
        <translation>Send item</translation>
    </message>
    <message>
        <source>Create Senderlist</source>
        <translation>Create sender list</translation>
    </message>
    <message>
        <source>Check for duplicate items</source>
        <translation>Check for duplicate items</translation>
    </message>
    <message>
        <source>Start Rename Run</source>
        <translation>Rename items</translation>
    </message>
    <message>
        <source>D&amp;atabase</source>
        <translation>D&amp;atabase</translation>
    </message>
    <message>
        <source>&amp;Add to dupe&amp;&amp;hackbase</source>
        <translation>&amp;Add to dupe &amp;&amp; hack database</translation>
    </message>
    <message>
        <source>V&amp;iew dupe&amp;&amp;hackbase</source>
        <translation>V&amp;iew dupe &amp;&amp; hack database</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Help</translation>
    </message>
    <message>
        <source>&amp;About Relicor</source>
        <translation>&amp;About Relicor</translation>
    </message>
    <message>
        <source>Open Pool</source>
        <translation>Open Pool</translation>
    </message>
    <message>
        <source>%1 files, %2 items written to %3
entrance page: %4</source>
        <translation>%1 files, %2 items written to %3
entrance page: %4</translation>
    </message>
    <message>
        <source>Open entrance page</source>
        <translation>Open entrance page</translation>
    </message>
    <message>
        <source>The browser could not be started for %1</source>
        <translation>The browser could not be started for %1</translation>
    </message>
    <message>
        <source>NOTE : PLEASE REPORT ANY ERRORS OR MISSING ATTRIBUTES TO &quot;%1&quot;!! SEND ERROR DESCRIPTION AND PLEASE THE ITM-FILE TOO (I WILL USE IT ONLY FOR TESTING PURPOSES).</source>
        <translation>Note: please report any errors or missing attributes to &quot;%1&quot;. Send a description of the error and, please, the ITM file too (it is used only for testing).</translation>
    </message>
    <message>
        <source>Refresh</source>
        <translation>Refresh</translation>
    </message>
    <message>
        <source>change current drive</source>
        <translation>Change the current drive</translation>
    </message>
    <message>
        <source>double-click to change directory</source>
        <translation>Double-click to change the directory</translation>
    </message>
    <message>
        <source>Send Itemrequest to</source>
        <translation>Send item requests to</translation>
    </message>
    <message>
        <source>Senderlist from</source>
        <translation>Sender list from</translation>
    </message>
    <message>
        <source>V&amp;&amp;K-Mode</source>
        <translation>V&amp;&amp;K mode</translation>
    </message>
    <message>
        <source>Debugging File</source>
        <translation>Debug log file</translation>
    </message>
    <message>
        <source>Additional Info</source>
        <translation>Additional info</translation>
    </message>
    <message>
        <source>Dump window</source>
        <translation>Data window</translation>
    </message>
    <message>
        <source>decimal view</source>
        <translation>Decimal view</translation>
    </message>
    <message>
        <source>%1: no such file or directory</source>
        <translation>%1: no such file or directory</translation>
    </message>
    <message>
        <source>refused: %1</source>
        <translation>refused: %1</translation>
    </message>
    <message>
        <source>Nothing new to import.</source>
        <translation>Nothing new to import.</translation>
    </message>
    <message>
        <source>repaired: %1</source>
        <translation>repaired: %1</translation>
    </message>
    <message>
        <source>into %1</source>
        <translation>into %1</translation>
    </message>
    <message>
        <source>Undo</source>
        <translation>Undo</translation>
    </message>
    <message>
        <source>1 file copied into %1</source>
        <translation>1 file copied into %1</translation>
    </message>
    <message>
        <source>%1 files copied into %2</source>
        <translation>%1 files copied into %2</translation>
    </message>
    <message>
        <source>copied: %1</source>
        <translation>copied: %1</translation>
    </message>
    <message>
        <source>not copied, a file of that name is already there: %1</source>
        <translation>not copied, a file of that name is already there: %1</translation>
    </message>
    <message>
        <source>not copied, it is already there: %1</source>
        <translation>not copied, it is already there: %1</translation>
    </message>
    <message>
        <source>not copied, not an ITM file: %1</source>
        <translation>not copied, not an ITM file: %1</translation>
    </message>
    <message>
        <source>not copied: %1</source>
        <translation>not copied: %1</translation>
    </message>
    <message>
        <source>&amp;Open Pool…</source>
        <translation>&amp;Open Pool…</translation>
    </message>
    <message>
        <source>Verdict</source>
        <translation>Verdict</translation>
    </message>
    <message>
        <source>Verdict: %1</source>
        <translation>Verdict: %1</translation>
    </message>
    <message>
        <source>Working</source>
        <translation>Working</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Relicor &amp;Manual</source>
        <translation>Relicor &amp;Manual</translation>
    </message>
    <message>
        <source>Cancelled: nothing was written.</source>
        <translation>Cancelled: nothing was written.</translation>
    </message>
    <message>
        <source>Writing the item list</source>
        <translation>Writing the item list</translation>
    </message>
    <message>
        <source>Writing the pages</source>
        <translation>Writing the pages</translation>
    </message>
    <message>
        <source>Counting the senders</source>
        <translation>Counting the senders</translation>
    </message>
    <message>
        <source>Looking for duplicate items</source>
        <translation>Looking for duplicate items</translation>
    </message>
    <message>
        <source>No duplicates and no known dupes found.</source>
        <translation>No duplicates and no known dupes found.</translation>
    </message>
    <message>
        <source>duplicate %1: %2 -- %3</source>
        <translation>duplicate %1: %2 -- %3</translation>
    </message>
    <message>
        <source>same seed %1: %2 -- %3</source>
        <translation>same seed %1: %2 -- %3</translation>
    </message>
    <message>
        <source>known dupe %1: %2</source>
        <translation>known dupe %1: %2</translation>
    </message>
    <message>
        <source>1 duplicate</source>
        <translation>1 duplicate</translation>
    </message>
    <message>
        <source>%1 duplicates</source>
        <translation>%1 duplicates</translation>
    </message>
    <message>
        <source>1 known dupe</source>
        <translation>1 known dupe</translation>
    </message>
    <message>
        <source>%1 known dupes</source>
        <translation>%1 known dupes</translation>
    </message>
    <message>
        <source>1 edited copy of an item</source>
        <translation>1 edited copy of an item</translation>
    </message>
    <message>
        <source>%1 edited copies of items</source>
        <translation>%1 edited copies of items</translation>
    </message>
    <message>
        <source>Found %1.</source>
        <translation>Found %1.</translation>
    </message>
    <message>
        <source>Open log</source>
        <translation>Open log</translation>
    </message>
    <message>
        <source>No program could be started to show %1</source>
        <translation>No program could be started to show %1</translation>
    </message>
    <message>
        <source>Importing</source>
        <translation>Importing</translation>
    </message>
    <message>
        <source>Looking at the item files</source>
        <translation>Looking at the item files</translation>
    </message>
    <message>
        <source>Cancelled: nothing was renamed.</source>
        <translation>Cancelled: nothing was renamed.</translation>
    </message>
    <message>
        <source>Renaming</source>
        <translation>Renaming</translation>
    </message>
    <message>
        <source>Undoing the rename run</source>
        <translation>Undoing the rename run</translation>
    </message>
    <message>
        <source>Recent &amp;Pools</source>
        <translation>Recent &amp;Pools</translation>
    </message>
    <message>
        <source>Choose Sent &amp;Directory…</source>
        <translation>Choose Sent &amp;Directory…</translation>
    </message>
    <message>
        <source>%1: no such directory</source>
        <translation>%1: no such directory</translation>
    </message>
    <message>
        <source>Choose Sent Directory</source>
        <translation>Choose Sent Directory</translation>
    </message>
    <message>
        <source>Sent directory: %1</source>
        <translation>Sent directory: %1</translation>
    </message>
    <message>
        <source>Open a pool, or drop ITM files here</source>
        <translation>Open a pool, or drop ITM files here</translation>
    </message>
</context>
<context>
    <name>relicor::MembersWindow</name>
    <message>
        <source>Members</source>
        <translation>Members</translation>
    </message>
    <message>
        <source>Add Member</source>
        <translation>Add member</translation>
    </message>
    <message>
        <source>Delete Member</source>
        <translation>Delete member</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>Enter name</source>
        <translation>Enter a name</translation>
    </message>
    <message>
        <source>Remove %1 from the member list?</source>
        <translation>Remove %1 from the member list?</translation>
    </message>
</context>
<context>
    <name>relicor::PublishOptionsDialog</name>
    <message>
        <source>Search page</source>
        <translation>Search page</translation>
    </message>
    <message>
        <source>Also write a page that searches, filters and sorts every item of the pool</source>
        <translation>Also write a page that searches, filters and sorts every item of the pool</translation>
    </message>
    <message>
        <source>&amp;Language</source>
        <translation>&amp;Language</translation>
    </message>
    <message>
        <source>Classic</source>
        <translation>Classic</translation>
    </message>
    <message>
        <source>System</source>
        <translation>System</translation>
    </message>
    <message>
        <source>The language changes when Relicor starts again.</source>
        <translation>The language changes when Relicor starts again.</translation>
    </message>
    <message>
        <source>default font face</source>
        <translation>Font</translation>
    </message>
    <message>
        <source>default font size</source>
        <translation>Font size</translation>
    </message>
    <message>
        <source>small font size</source>
        <translation>Small font size</translation>
    </message>
    <message>
        <source>default font color</source>
        <translation>Font colour</translation>
    </message>
    <message>
        <source>BACKGROUN&amp;D</source>
        <translation>Backgroun&amp;d image</translation>
    </message>
    <message>
        <source>BGCOLOR</source>
        <translation>Background colour</translation>
    </message>
    <message>
        <source>file prefix</source>
        <translation>File prefix</translation>
    </message>
    <message>
        <source>add URL</source>
        <translation>Header link URL</translation>
    </message>
    <message>
        <source>add URL Name</source>
        <translation>Header link name</translation>
    </message>
    <message>
        <source>link font face</source>
        <translation>Link font</translation>
    </message>
    <message>
        <source>link font size</source>
        <translation>Link font size</translation>
    </message>
    <message>
        <source>link font color</source>
        <translation>Link colour</translation>
    </message>
    <message>
        <source>highlight font</source>
        <translation>Highlight colour</translation>
    </message>
    <message>
        <source>highlight bgcolor</source>
        <translation>Highlight background</translation>
    </message>
    <message>
        <source>Options</source>
        <translation>Options</translation>
    </message>
    <message>
        <source>HTML</source>
        <translation>HTML</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Choose the colour</source>
        <translation>Choose the colour</translation>
    </message>
    <message>
        <source>Font…</source>
        <translation>Font…</translation>
    </message>
    <message>
        <source>Choose the font face and size</source>
        <translation>Choose the font face and size</translation>
    </message>
</context>
<context>
    <name>relicor::RenameSummary</name>
    <message>
        <source>%1 renamed, %2 kept, %3 failed</source>
        <translation>%1 renamed, %2 kept, %3 failed</translation>
    </message>
    <message>
        <source>rename log: %1</source>
        <translation>rename log: %1</translation>
    </message>
    <message>
        <source>the rename log could not be written: %1</source>
        <translation>the rename log could not be written: %1</translation>
    </message>
    <message>
        <source>not renamed %1: %2</source>
        <translation>not renamed %1: %2</translation>
    </message>
    <message>
        <source>There is no rename run to undo.</source>
        <translation>There is no rename run to undo.</translation>
    </message>
    <message>
        <source>%1 restored, %2 left as they are</source>
        <translation>%1 restored, %2 left as they are</translation>
    </message>
    <message>
        <source>left %1: %2</source>
        <translation>left %1: %2</translation>
    </message>
</context>
<context>
    <name>relicor::SaveImportDialog</name>
    <message>
        <source>new</source>
        <translation>new</translation>
    </message>
    <message>
        <source>already in the pool: %1</source>
        <translation>already in the pool: %1</translation>
    </message>
    <message>
        <source>skipped: %1</source>
        <translation>skipped: %1</translation>
    </message>
    <message>
        <source>failed: %1</source>
        <translation>failed: %1</translation>
    </message>
    <message>
        <source>not selected</source>
        <translation>not selected</translation>
    </message>
    <message>
        <source>Import from save game</source>
        <translation>Import from save game</translation>
    </message>
    <message>
        <source>No.</source>
        <translation>No.</translation>
    </message>
    <message>
        <source>Place</source>
        <translation>Place</translation>
    </message>
    <message>
        <source>Item</source>
        <translation>Item</translation>
    </message>
    <message>
        <source>Verdict</source>
        <translation>Verdict</translation>
    </message>
    <message>
        <source>Pool</source>
        <translation>Pool</translation>
    </message>
    <message>
        <source>refused: %1</source>
        <translation>refused: %1</translation>
    </message>
    <message>
        <source>Sender:</source>
        <translation>Sender:</translation>
    </message>
    <message>
        <source>(each hero&apos;s name)</source>
        <translation>(each hero&apos;s name)</translation>
    </message>
    <message>
        <source>(nobody)</source>
        <translation>(nobody)</translation>
    </message>
    <message>
        <source>Import</source>
        <translation>Import</translation>
    </message>
    <message>
        <source>Save games (*.sv);;All files (*)</source>
        <translation>Save games (*.sv);;All files (*)</translation>
    </message>
</context>
<context>
    <name>relicor::SenderListWindow</name>
    <message>
        <source>Senderlist</source>
        <translation>Sender list</translation>
    </message>
    <message>
        <source>Sender</source>
        <translation>Sender</translation>
    </message>
    <message>
        <source>Items</source>
        <translation>Items</translation>
    </message>
    <message>
        <source>Points</source>
        <translation>Points</translation>
    </message>
    <message>
        <source>Items sent in since %1</source>
        <translation>Items sent in since %1</translation>
    </message>
    <message>
        <source>(not a member)</source>
        <translation>(not a member)</translation>
    </message>
    <message>
        <source>(no sender)</source>
        <translation>(no sender)</translation>
    </message>
    <message>
        <source>Total</source>
        <translation>Total</translation>
    </message>
    <message>
        <source>Saved as %1</source>
        <translation>Saved as %1</translation>
    </message>
</context>
<context>
    <name>relicor::Session</name>
    <message>
        <source>Are you sure to add this item?</source>
        <translation>Add this item to the dupe and hack database?</translation>
    </message>
    <message>
        <source>The selected Item is already in database!</source>
        <translation>The selected item is already in the database.</translation>
    </message>
    <message>
        <source>No Pool-Directory assigned!</source>
        <translation>No pool directory is set.</translation>
    </message>
    <message>
        <source>No Sent-Directory assigned!</source>
        <translation>No sent directory is set.</translation>
    </message>
    <message>
        <source>Konnte Datei nicht verschieben</source>
        <translation>The file could not be moved</translation>
    </message>
    <message>
        <source>a member name must not be empty</source>
        <translation>a member name must not be empty</translation>
    </message>
    <message>
        <source>a member name must be one line</source>
        <translation>a member name must be one line</translation>
    </message>
    <message>
        <source>the selected file is not an item file</source>
        <translation>the selected file is not an item file</translation>
    </message>
</context>
<context>
    <name>relicor::UserManual</name>
    <message>
        <source>The user manual is not installed beside the program. &quot;man relicor&quot; shows the manual page.</source>
        <translation>The user manual is not installed beside the program. &quot;man relicor&quot; shows the manual page.</translation>
    </message>
    <message>
        <source>The browser could not be started for %1</source>
        <translation>The browser could not be started for %1</translation>
    </message>
</context>
</TS>
