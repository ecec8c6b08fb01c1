<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de">
<context>
    <name>QMessageBox</name>
    <message>
        <source>Show Details...</source>
        <translation>Details einblenden...</translation>
    </message>
    <message>
        <source>Hide Details...</source>
        <translation>Details ausblenden...</translation>
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
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>&amp;Yes</source>
        <translation>&amp;Ja</translation>
    </message>
    <message>
        <source>&amp;No</source>
        <translation>&amp;Nein</translation>
    </message>
    <message>
        <source>Apply</source>
        <translation>Anwenden</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>Speichern</translation>
    </message>
    <message>
        <source>Discard</source>
        <translation>Verwerfen</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Hilfe</translation>
    </message>
    <message>
        <source>Reset</source>
        <translation>Zurücksetzen</translation>
    </message>
    <message>
        <source>Restore Defaults</source>
        <translation>Voreinstellungen</translation>
    </message>
</context>
<context>
    <name>QTabBar</name>
    <message>
        <source>Scroll Left</source>
        <translation>Nach links blättern</translation>
    </message>
    <message>
        <source>Scroll Right</source>
        <translation>Nach rechts blättern</translation>
    </message>
</context>
<context>
    <name>relicor::AppInfo</name>
    <message>
        <source>proprietary; all rights reserved</source>
        <translation>proprietär; alle Rechte vorbehalten</translation>
    </message>
    <message>
        <source>%1 item</source>
        <translation>%1 Item</translation>
    </message>
    <message>
        <source>%1 items</source>
        <translation>%1 Items</translation>
    </message>
    <message>
        <source>Relicor %1

The item pool keeper&apos;s tool for a Diablo I clan.

Licence: %2
Home page: %3</source>
        <translation>Relicor %1

Das Werkzeug des Itempool-Verwalters eines Diablo-I-Clans.

Lizenz: %2
Homepage: %3</translation>
    </message>
    <message>
        <source>no pool</source>
        <translation>kein Pool</translation>
    </message>
    <message>
        <source>Pool: %1</source>
        <translation>Pool: %1</translation>
    </message>
    <message>
        <source>No pool: Datei &gt; Open Pool…</source>
        <translation>Kein Pool: Datei &gt; Pool öffnen…</translation>
    </message>
</context>
<context>
    <name>relicor::DatabaseWindow</name>
    <message>
        <source>Are you sure to remove item from list?</source>
        <translation>Das Item wirklich aus der Liste entfernen?</translation>
    </message>
    <message>
        <source>Are you sure write the current loaded list to database file?</source>
        <translation>Die geladene Liste wirklich in die Datenbankdatei schreiben?</translation>
    </message>
    <message>
        <source>Do you want to save made changes to Database?</source>
        <translation>Sollen die Änderungen an der Datenbank gespeichert werden?</translation>
    </message>
    <message>
        <source>Database Dupes&amp;Hacks</source>
        <translation>Datenbank der Dupes und Hacks</translation>
    </message>
    <message>
        <source>ID</source>
        <translation>ID</translation>
    </message>
    <message>
        <source>Type</source>
        <translation>Typ</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Löschen</translation>
    </message>
    <message>
        <source>Delete Item from Database</source>
        <translation>Item aus der Datenbank löschen</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>Speichern</translation>
    </message>
    <message>
        <source>Save List to Database</source>
        <translation>Liste in der Datenbank speichern</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <source>Close this window</source>
        <translation>Dieses Fenster schließen</translation>
    </message>
    <message>
        <source>%1 entries loaded</source>
        <translation>%1 Einträge geladen</translation>
    </message>
    <message>
        <source>Item %1</source>
        <translation>Item %1</translation>
    </message>
    <message>
        <source>Type %1</source>
        <translation>Typ %1</translation>
    </message>
</context>
<context>
    <name>relicor::ItemDumpWindow</name>
    <message>
        <source>Data Window</source>
        <translation>Datenfenster</translation>
    </message>
    <message>
        <source>Fields of the record</source>
        <translation>Felder des Datensatzes</translation>
    </message>
    <message>
        <source>Bytes of the item record</source>
        <translation>Bytes des Itemdatensatzes</translation>
    </message>
</context>
<context>
    <name>relicor::MainWindow</name>
    <message>
        <source>&amp;Datei</source>
        <translation>&amp;Datei</translation>
    </message>
    <message>
        <source>Import from save game…</source>
        <translation>Aus Spielstand importieren…</translation>
    </message>
    <message>
        <source>Einstellungen</source>
        <translation>Einstellungen</translation>
    </message>
    <message>
        <source>Beenden</source>
        <translation>&amp;Beenden</translation>
    </message>
    <message>
        <source>&amp;Text</source>
        <translation>&amp;Text</translation>
    </message>
    <message>
        <source>Start Creation</source>
        <translation>Itemliste erstellen</translation>
    </message>
    <message>
        <source>&amp;HTML</source>
        <translation>&amp;HTML</translation>
    </message>
    <message>
        <source>Set &amp;Pool-Directory</source>
        <translation>&amp;Pool-Verzeichnis setzen</translation>
    </message>
    <message>
        <source>Set &amp;Sent-Directory</source>
        <translation>&amp;Versand-Verzeichnis setzen</translation>
    </message>
    <message>
        <source>&amp;Subdirectories</source>
        <translation>&amp;Unterverzeichnisse einbeziehen</translation>
    </message>
    <message>
        <source>St&amp;art creation</source>
        <translation>Seiten &amp;erstellen</translation>
    </message>
    <message>
        <source>&amp;View</source>
        <translation>&amp;Ansicht</translation>
    </message>
    <message>
        <source>&amp;Members</source>
        <translation>&amp;Mitglieder</translation>
    </message>
    <message>
        <source>E&amp;xtras</source>
        <translation>E&amp;xtras</translation>
    </message>
    <message>
        <source>Quick Sender Assign</source>
        <translation>Absender zuweisen</translation>
    </message>
    <message>
        <source>Quick Point Assign</source>
        <translation>Punkte zuweisen</translation>
    </message>
    <message>
        <source>Quick Date Assign</source>
        <translation>Datum zuweisen</translation>
    </message>
    <message>
        <source>Mark as PUBLIC</source>
        <translation>Als öffentlich markieren</translation>
    </message>
    <message>
        <source>Mark as CLAN-ONLY</source>
        <translation>Nur für den Clan markieren</translation>
    </message>
    <message>
        <source>Prepare Item to send</source>
        <translation>Item versenden</translation>
    </message>
    <message>
        <source>Create Senderlist</source>
        <translation>Absenderliste erstellen</translation>
    </message>
    <message>
        <source>Check for duplicate items</source>
        <translation>Auf doppelte Items prüfen</translation>
    </message>
    <message>
        <source>Start Rename Run</source>
        <translation>Items umbenennen</translation>
    </message>
    <message>
        <source>D&amp;atabase</source>
        <translation>D&amp;atenbank</translation>
    </message>
    <message>
        <source>&amp;Add to dupe&amp;&amp;hackbase</source>
        <translation>Zur Dupe- und Hack-Datenbank &amp;hinzufügen</translation>
    </message>
    <message>
        <source>V&amp;iew dupe&amp;&amp;hackbase</source>
        <translation>Dupe- und Hack-Datenbank &amp;anzeigen</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Hilfe</translation>
    </message>
    <message>
        <source>&amp;About Relicor</source>
        <translation>&amp;Über Relicor</translation>
    </message>
    <message>
        <source>Open Pool</source>
        <translation>Pool öffnen</translation>
    </message>
    <message>
        <source>%1 files, %2 items written to %3
entrance page: %4</source>
        <translation>%1 Dateien, %2 Items nach %3 geschrieben
Einstiegsseite: %4</translation>
    </message>
    <message>
        <source>Open entrance page</source>
        <translation>Einstiegsseite öffnen</translation>
    </message>
    <message>
        <source>The browser could not be started for %1</source>
        <translation>Der Browser konnte für %1 nicht gestartet werden</translation>
    </message>
    <message>
        <source>NOTE : PLEASE REPORT ANY ERRORS OR MISSING ATTRIBUTES TO &quot;%1&quot;!! SEND ERROR DESCRIPTION AND PLEASE THE ITM-FILE TOO (I WILL USE IT ONLY FOR TESTING PURPOSES).</source>
        <translation>Hinweis: Bitte melde Fehler oder fehlende Eigenschaften an &quot;%1&quot;. Schicke eine Beschreibung des Fehlers und bitte auch die ITM-Datei (sie wird nur zum Testen verwendet).</translation>
    </message>
    <message>
        <source>Refresh</source>
        <translation>Aktualisieren</translation>
    </message>
    <message>
        <source>change current drive</source>
        <translation>Laufwerk wechseln</translation>
    </message>
    <message>
        <source>double-click to change directory</source>
        <translation>Doppelklick wechselt das Verzeichnis</translation>
    </message>
    <message>
        <source>Send Itemrequest to</source>
        <translation>Itemanfragen senden an</translation>
    </message>
    <message>
        <source>Senderlist from</source>
        <translation>Absenderliste ab</translation>
    </message>
    <message>
        <source>V&amp;&amp;K-Mode</source>
        <translation>V&amp;&amp;K-Modus</translation>
    </message>
    <message>
        <source>Debugging File</source>
        <translation>Debug-Protokoll</translation>
    </message>
    <message>
        <source>Additional Info</source>
        <translation>Zusätzliche Angaben</translation>
    </message>
    <message>
        <source>Dump window</source>
        <translation>Datenfenster</translation>
    </message>
    <message>
        <source>decimal view</source>
        <translation>Dezimalansicht</translation>
    </message>
    <message>
        <source>%1: no such file or directory</source>
        <translation>%1: Datei oder Verzeichnis nicht gefunden</translation>
    </message>
    <message>
        <source>refused: %1</source>
        <translation>abgelehnt: %1</translation>
    </message>
    <message>
        <source>Nothing new to import.</source>
        <translation>Nichts Neues zu importieren.</translation>
    </message>
    <message>
        <source>repaired: %1</source>
        <translation>repariert: %1</translation>
    </message>
    <message>
        <source>into %1</source>
        <translation>nach %1</translation>
    </message>
    <message>
        <source>Undo</source>
        <translation>Rückgängig</translation>
    </message>
    <message>
        <source>1 file copied into %1</source>
        <translation>1 Datei nach %1 kopiert</translation>
    </message>
    <message>
        <source>%1 files copied into %2</source>
        <translation>%1 Dateien nach %2 kopiert</translation>
    </message>
    <message>
        <source>copied: %1</source>
        <translation>kopiert: %1</translation>
    </message>
    <message>
        <source>not copied, a file of that name is already there: %1</source>
        <translation>nicht kopiert, eine Datei dieses Namens ist schon da: %1</translation>
    </message>
    <message>
        <source>not copied, it is already there: %1</source>
        <translation>nicht kopiert, sie ist schon da: %1</translation>
    </message>
    <message>
        <source>not copied, not an ITM file: %1</source>
        <translation>nicht kopiert, keine ITM-Datei: %1</translation>
    </message>
    <message>
        <source>not copied: %1</source>
        <translation>nicht kopiert: %1</translation>
    </message>
    <message>
        <source>&amp;Open Pool…</source>
        <translation>Pool &amp;öffnen…</translation>
    </message>
    <message>
        <source>Verdict</source>
        <translation>Urteil</translation>
    </message>
    <message>
        <source>Verdict: %1</source>
        <translation>Urteil: %1</translation>
    </message>
    <message>
        <source>Working</source>
        <translation>In Arbeit</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Relicor &amp;Manual</source>
        <translation>Relicor-&amp;Handbuch</translation>
    </message>
    <message>
        <source>Cancelled: nothing was written.</source>
        <translation>Abgebrochen: nichts wurde geschrieben.</translation>
    </message>
    <message>
        <source>Writing the item list</source>
        <translation>Itemliste wird geschrieben</translation>
    </message>
    <message>
        <source>Writing the pages</source>
        <translation>Seiten werden geschrieben</translation>
    </message>
    <message>
        <source>Counting the senders</source>
        <translation>Absender werden gezählt</translation>
    </message>
    <message>
        <source>Looking for duplicate items</source>
        <translation>Doppelte Items werden gesucht</translation>
    </message>
    <message>
        <source>No duplicates and no known dupes found.</source>
        <translation>Keine Duplikate und keine bekannten Dupes gefunden.</translation>
    </message>
    <message>
        <source>duplicate %1: %2 -- %3</source>
        <translation>Duplikat %1: %2 -- %3</translation>
    </message>
    <message>
        <source>same seed %1: %2 -- %3</source>
        <translation>gleicher Seed %1: %2 -- %3</translation>
    </message>
    <message>
        <source>known dupe %1: %2</source>
        <translation>bekannter Dupe %1: %2</translation>
    </message>
    <message>
        <source>1 duplicate</source>
        <translation>1 Duplikat</translation>
    </message>
    <message>
        <source>%1 duplicates</source>
        <translation>%1 Duplikate</translation>
    </message>
    <message>
        <source>1 known dupe</source>
        <translation>1 bekannter Dupe</translation>
    </message>
    <message>
        <source>%1 known dupes</source>
        <translation>%1 bekannte Dupes</translation>
    </message>
    <message>
        <source>1 edited copy of an item</source>
        <translation>1 bearbeitete Kopie eines Items</translation>
    </message>
    <message>
        <source>%1 edited copies of items</source>
        <translation>%1 bearbeitete Kopien von Items</translation>
    </message>
    <message>
        <source>Found %1.</source>
        <translation>Gefunden: %1.</translation>
    </message>
    <message>
        <source>Open log</source>
        <translation>Protokoll öffnen</translation>
    </message>
    <message>
        <source>No program could be started to show %1</source>
        <translation>Kein Programm konnte gestartet werden, um %1 anzuzeigen</translation>
    </message>
    <message>
        <source>Importing</source>
        <translation>Import läuft</translation>
    </message>
    <message>
        <source>Looking at the item files</source>
        <translation>Itemdateien werden geprüft</translation>
    </message>
    <message>
        <source>Cancelled: nothing was renamed.</source>
        <translation>Abgebrochen: nichts wurde umbenannt.</translation>
    </message>
    <message>
        <source>Renaming</source>
        <translation>Umbenennen läuft</translation>
    </message>
    <message>
        <source>Undoing the rename run</source>
        <translation>Umbenennungslauf wird rückgängig gemacht</translation>
    </message>
    <message>
        <source>Recent &amp;Pools</source>
        <translation>&amp;Zuletzt geöffnete Pools</translation>
    </message>
    <message>
        <source>Choose Sent &amp;Directory…</source>
        <translation>&amp;Versand-Verzeichnis wählen…</translation>
    </message>
    <message>
        <source>%1: no such directory</source>
        <translation>%1: Verzeichnis nicht gefunden</translation>
    </message>
    <message>
        <source>Choose Sent Directory</source>
        <translation>Versand-Verzeichnis wählen</translation>
    </message>
    <message>
        <source>Sent directory: %1</source>
        <translation>Versand-Verzeichnis: %1</translation>
    </message>
    <message>
        <source>Open a pool, or drop ITM files here</source>
        <translation>Pool öffnen oder ITM-Dateien hierher ziehen</translation>
    </message>
</context>
<context>
    <name>relicor::MembersWindow</name>
    <message>
        <source>Members</source>
        <translation>Mitglieder</translation>
    </message>
    <message>
        <source>Add Member</source>
        <translation>Mitglied hinzufügen</translation>
    </message>
    <message>
        <source>Delete Member</source>
        <translation>Mitglied löschen</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <source>Enter name</source>
        <translation>Name eingeben</translation>
    </message>
    <message>
        <source>Remove %1 from the member list?</source>
        <translation>%1 aus der Mitgliederliste entfernen?</translation>
    </message>
</context>
<context>
    <name>relicor::PublishOptionsDialog</name>
    <message>
        <source>Search page</source>
        <translation>Suchseite</translation>
    </message>
    <message>
        <source>Also write a page that searches, filters and sorts every item of the pool</source>
        <translation>Auch eine Seite schreiben, die alle Items des Pools durchsucht, filtert und sortiert</translation>
    </message>
    <message>
        <source>&amp;Language</source>
        <translation>&amp;Sprache</translation>
    </message>
    <message>
        <source>Classic</source>
        <translation>Klassisch</translation>
    </message>
    <message>
        <source>System</source>
        <translation>System</translation>
    </message>
    <message>
        <source>The language changes when Relicor starts again.</source>
        <translation>Die Sprache wechselt beim nächsten Start von Relicor.</translation>
    </message>
    <message>
        <source>default font face</source>
        <translation>Schriftart</translation>
    </message>
    <message>
        <source>default font size</source>
        <translation>Schriftgröße</translation>
    </message>
    <message>
        <source>small font size</source>
        <translation>Kleine Schriftgröße</translation>
    </message>
    <message>
        <source>default font color</source>
        <translation>Schriftfarbe</translation>
    </message>
    <message>
        <source>BACKGROUN&amp;D</source>
        <translation>&amp;Hintergrundbild</translation>
    </message>
    <message>
        <source>BGCOLOR</source>
        <translation>Hintergrundfarbe</translation>
    </message>
    <message>
        <source>file prefix</source>
        <translation>Dateipräfix</translation>
    </message>
    <message>
        <source>add URL</source>
        <translation>Link-URL im Kopf</translation>
    </message>
    <message>
        <source>add URL Name</source>
        <translation>Link-Name im Kopf</translation>
    </message>
    <message>
        <source>link font face</source>
        <translation>Link-Schriftart</translation>
    </message>
    <message>
        <source>link font size</source>
        <translation>Link-Schriftgröße</translation>
    </message>
    <message>
        <source>link font color</source>
        <translation>Linkfarbe</translation>
    </message>
    <message>
        <source>highlight font</source>
        <translation>Markierfarbe</translation>
    </message>
    <message>
        <source>highlight bgcolor</source>
        <translation>Markierhintergrund</translation>
    </message>
    <message>
        <source>Options</source>
        <translation>Einstellungen</translation>
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
        <translation>Farbe wählen</translation>
    </message>
    <message>
        <source>Font…</source>
        <translation>Schrift…</translation>
    </message>
    <message>
        <source>Choose the font face and size</source>
        <translation>Schriftart und -größe wählen</translation>
    </message>
</context>
<context>
    <name>relicor::RenameSummary</name>
    <message>
        <source>%1 renamed, %2 kept, %3 failed</source>
        <translation>%1 umbenannt, %2 belassen, %3 fehlgeschlagen</translation>
    </message>
    <message>
        <source>rename log: %1</source>
        <translation>Umbenennungsprotokoll: %1</translation>
    </message>
    <message>
        <source>the rename log could not be written: %1</source>
        <translation>das Umbenennungsprotokoll konnte nicht geschrieben werden: %1</translation>
    </message>
    <message>
        <source>not renamed %1: %2</source>
        <translation>nicht umbenannt %1: %2</translation>
    </message>
    <message>
        <source>There is no rename run to undo.</source>
        <translation>Es gibt keinen Umbenennungslauf zum Rückgängigmachen.</translation>
    </message>
    <message>
        <source>%1 restored, %2 left as they are</source>
        <translation>%1 wiederhergestellt, %2 unverändert gelassen</translation>
    </message>
    <message>
        <source>left %1: %2</source>
        <translation>belassen %1: %2</translation>
    </message>
</context>
<context>
    <name>relicor::SaveImportDialog</name>
    <message>
        <source>new</source>
        <translation>neu</translation>
    </message>
    <message>
        <source>already in the pool: %1</source>
        <translation>schon im Pool: %1</translation>
    </message>
    <message>
        <source>skipped: %1</source>
        <translation>übersprungen: %1</translation>
    </message>
    <message>
        <source>failed: %1</source>
        <translation>fehlgeschlagen: %1</translation>
    </message>
    <message>
        <source>not selected</source>
        <translation>nicht ausgewählt</translation>
    </message>
    <message>
        <source>Import from save game</source>
        <translation>Aus Spielstand importieren</translation>
    </message>
    <message>
        <source>No.</source>
        <translation>Nr.</translation>
    </message>
    <message>
        <source>Place</source>
        <translation>Ort</translation>
    </message>
    <message>
        <source>Item</source>
        <translation>Item</translation>
    </message>
    <message>
        <source>Verdict</source>
        <translation>Urteil</translation>
    </message>
    <message>
        <source>Pool</source>
        <translation>Pool</translation>
    </message>
    <message>
        <source>refused: %1</source>
        <translation>abgelehnt: %1</translation>
    </message>
    <message>
        <source>Sender:</source>
        <translation>Absender:</translation>
    </message>
    <message>
        <source>(each hero&apos;s name)</source>
        <translation>(Name des jeweiligen Helden)</translation>
    </message>
    <message>
        <source>(nobody)</source>
        <translation>(niemand)</translation>
    </message>
    <message>
        <source>Import</source>
        <translation>Importieren</translation>
    </message>
    <message>
        <source>Save games (*.sv);;All files (*)</source>
        <translation>Spielstände (*.sv);;Alle Dateien (*)</translation>
    </message>
</context>
<context>
    <name>relicor::SenderListWindow</name>
    <message>
        <source>Senderlist</source>
        <translation>Absenderliste</translation>
    </message>
    <message>
        <source>Sender</source>
        <translation>Absender</translation>
    </message>
    <message>
        <source>Items</source>
        <translation>Items</translation>
    </message>
    <message>
        <source>Points</source>
        <translation>Punkte</translation>
    </message>
    <message>
        <source>Items sent in since %1</source>
        <translation>Eingesandte Items seit %1</translation>
    </message>
    <message>
        <source>(not a member)</source>
        <translation>(kein Mitglied)</translation>
    </message>
    <message>
        <source>(no sender)</source>
        <translation>(kein Absender)</translation>
    </message>
    <message>
        <source>Total</source>
        <translation>Summe</translation>
    </message>
    <message>
        <source>Saved as %1</source>
        <translation>Gespeichert als %1</translation>
    </message>
</context>
<context>
    <name>relicor::Session</name>
    <message>
        <source>Are you sure to add this item?</source>
        <translation>Dieses Item wirklich zur Dupe- und Hack-Datenbank hinzufügen?</translation>
    </message>
    <message>
        <source>The selected Item is already in database!</source>
        <translation>Das gewählte Item ist schon in der Datenbank.</translation>
    </message>
    <message>
        <source>No Pool-Directory assigned!</source>
        <translation>Kein Pool-Verzeichnis gesetzt.</translation>
    </message>
    <message>
        <source>No Sent-Directory assigned!</source>
        <translation>Kein Versand-Verzeichnis gesetzt.</translation>
    </message>
    <message>
        <source>Konnte Datei nicht verschieben</source>
        <translation>Konnte Datei nicht verschieben</translation>
    </message>
    <message>
        <source>a member name must not be empty</source>
        <translation>ein Mitgliedsname darf nicht leer sein</translation>
    </message>
    <message>
        <source>a member name must be one line</source>
        <translation>ein Mitgliedsname muss eine Zeile sein</translation>
    </message>
    <message>
        <source>the selected file is not an item file</source>
        <translation>die gewählte Datei ist keine Itemdatei</translation>
    </message>
</context>
<context>
    <name>relicor::UserManual</name>
    <message>
        <source>The user manual is not installed beside the program. &quot;man relicor&quot; shows the manual page.</source>
        <translation>Das Benutzerhandbuch ist nicht neben dem Programm installiert. &quot;man relicor&quot; zeigt die Handbuchseite.</translation>
    </message>
    <message>
        <source>The browser could not be started for %1</source>
        <translation>Der Browser konnte für %1 nicht gestartet werden</translation>
    </message>
</context>
</TS>
