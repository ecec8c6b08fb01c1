<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en">
<context>
    <name>relicor::MainWindow</name>
    <message>
        <source>&amp;Datei</source>
        <translation>&amp;File</translation>
    </message>
    <message>
        <source>&amp;Open Pool</source>
        <translation>&amp;Open Pool</translation>
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
</context>
<context>
    <name>relicor::PublishOptionsDialog</name>
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
</context>
</TS>
