<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de">
<context>
    <name>relicor::MainWindow</name>
    <message>
        <source>&amp;Datei</source>
        <translation>&amp;Datei</translation>
    </message>
    <message>
        <source>&amp;Open Pool</source>
        <translation>Pool &amp;öffnen</translation>
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
</context>
<context>
    <name>relicor::PublishOptionsDialog</name>
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
</context>
</TS>
