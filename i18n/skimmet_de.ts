<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>AboutDialog</name>
    <message>
        <source>About Skimmet</source>
        <translation>Über Skimmet</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Home Page</source>
        <translation>Homepage</translation>
    </message>
    <message>
        <source>Email Me</source>
        <translation>Schreiben Sie mir</translation>
    </message>
</context>
<context>
    <name>CAboutDialog</name>
    <message>
        <source>Skimmet Version %1</source>
        <translation>Skimmet Version %1</translation>
    </message>
    <message>
        <source>Click here to visit my WWW home page</source>
        <translation>Hier klicken, um meine Homepage zu besuchen</translation>
    </message>
    <message>
        <source>Email me by your email client program</source>
        <translation>Schreiben Sie mir mit Ihrem E-Mail-Programm</translation>
    </message>
</context>
<context>
    <name>CFlashView</name>
    <message>
        <source>Please open a file you want to read...</source>
        <translation>Öffnen Sie eine Datei, die Sie lesen möchten...</translation>
    </message>
    <message>
        <source>Stoped...</source>
        <translation>Angehalten...</translation>
    </message>
    <message>
        <source>Paused...</source>
        <translation>Pause...</translation>
    </message>
    <message>
        <source>The End</source>
        <translation>Ende</translation>
    </message>
</context>
<context>
    <name>CLockIndicators</name>
    <message>
        <source>CAP</source>
        <translation>GROSS</translation>
    </message>
    <message>
        <source>NUM</source>
        <translation>NUM</translation>
    </message>
    <message>
        <source>SCRL</source>
        <translation>ROLL</translation>
    </message>
</context>
<context>
    <name>CMainFrame</name>
    <message>
        <source>Toolbar</source>
        <translation>Werkzeugleiste</translation>
    </message>
    <message>
        <source>Ready</source>
        <translation>Bereit</translation>
    </message>
    <message>
        <source>Press Space to read, F11 for full screen</source>
        <translation>Leertaste zum Lesen, F11 für Vollbild</translation>
    </message>
    <message>
        <source>The reading log could not be read, so a new one was begun.</source>
        <translation>Das Leseprotokoll ließ sich nicht lesen, daher wurde ein neues begonnen.</translation>
    </message>
    <message>
        <source>The old log was renamed to %1.</source>
        <translation>Das alte Protokoll wurde in %1 umbenannt.</translation>
    </message>
    <message>
        <source>The reading log cannot be kept; reading goes on without it.</source>
        <translation>Das Leseprotokoll kann nicht geführt werden; das Lesen geht ohne es weiter.</translation>
    </message>
    <message>
        <source>The reading log cannot be shown.</source>
        <translation>Das Leseprotokoll kann nicht angezeigt werden.</translation>
    </message>
</context>
<context>
    <name>CMovePositionPage</name>
    <message>
        <source>%1 (outside the text)</source>
        <translation>%1 (außerhalb des Textes)</translation>
    </message>
</context>
<context>
    <name>CPacingPage</name>
    <message>
        <source>Pace by content</source>
        <translation>Tempo nach Inhalt</translation>
    </message>
    <message>
        <source>Each unit&apos;s times follow what it holds and what ended the unit before.</source>
        <translation>Die Zeiten jeder Einheit richten sich nach ihrem Inhalt und danach, womit die vorige endete.</translation>
    </message>
    <message>
        <source>Reference length:</source>
        <translation>Bezugslänge:</translation>
    </message>
    <message>
        <source> characters</source>
        <translation> Zeichen</translation>
    </message>
    <message>
        <source>A unit this long is shown for exactly Duration.</source>
        <translation>Eine so lange Einheit wird genau für die Dauer gezeigt.</translation>
    </message>
    <message>
        <source>Length weight:</source>
        <translation>Gewicht der Länge:</translation>
    </message>
    <message>
        <source> %</source>
        <translation> %</translation>
    </message>
    <message>
        <source>How much longer a unit twice that long stays, and how much shorter one half as long.</source>
        <translation>Wie viel länger eine doppelt so lange Einheit bleibt und wie viel kürzer eine halb so lange.</translation>
    </message>
    <message>
        <source>Shortest show time:</source>
        <translation>Kürzeste Anzeigezeit:</translation>
    </message>
    <message>
        <source> ms</source>
        <translation> ms</translation>
    </message>
    <message>
        <source>No unit is shown for less.</source>
        <translation>Keine Einheit wird kürzer gezeigt.</translation>
    </message>
    <message>
        <source>Long word from:</source>
        <translation>Langes Wort ab:</translation>
    </message>
    <message>
        <source>Words this long or longer take more time.</source>
        <translation>So lange oder längere Wörter bekommen mehr Zeit.</translation>
    </message>
    <message>
        <source>For each long word:</source>
        <translation>Für jedes lange Wort:</translation>
    </message>
    <message>
        <source>Of Duration, added to the unit&apos;s time.</source>
        <translation>Der Dauer, zur Zeit der Einheit addiert.</translation>
    </message>
    <message>
        <source>For each number:</source>
        <translation>Für jede Zahl:</translation>
    </message>
    <message>
        <source>Of Duration, added for each word with a digit.</source>
        <translation>Der Dauer, für jedes Wort mit einer Ziffer addiert.</translation>
    </message>
    <message>
        <source>After a clause:</source>
        <translation>Nach einem Satzteil:</translation>
    </message>
    <message>
        <source>Of Between, the gap after a conditional stop symbol (, ; :).</source>
        <translation>Der Pause, die Pause nach einem bedingten Stoppzeichen (, ; :).</translation>
    </message>
    <message>
        <source>After a sentence:</source>
        <translation>Nach einem Satz:</translation>
    </message>
    <message>
        <source>Of Between, the gap after an unconditional stop symbol (. ? !).</source>
        <translation>Der Pause, die Pause nach einem unbedingten Stoppzeichen (. ? !).</translation>
    </message>
    <message>
        <source>After a paragraph:</source>
        <translation>Nach einem Absatz:</translation>
    </message>
    <message>
        <source>Of Between, the gap after a paragraph&apos;s end.</source>
        <translation>Der Pause, die Pause am Ende eines Absatzes.</translation>
    </message>
    <message>
        <source>Gentle start over:</source>
        <translation>Sanfter Start über:</translation>
    </message>
    <message>
        <source> units</source>
        <translation> Einheiten</translation>
    </message>
    <message>
        <source>After Run or a move the reading reaches full pace over so many units.</source>
        <translation>Nach dem Start oder einem Sprung erreicht das Lesen über so viele Einheiten das volle Tempo.</translation>
    </message>
    <message>
        <source>Gentle start at:</source>
        <translation>Sanfter Start mit:</translation>
    </message>
    <message>
        <source>The times of the first of those units.</source>
        <translation>Die Zeiten der ersten dieser Einheiten.</translation>
    </message>
    <message>
        <source>Slow down between sentences first</source>
        <translation>Zuerst zwischen Sätzen verlangsamen</translation>
    </message>
    <message>
        <source>Slower lengthens the gaps after sentences and paragraphs before the units.</source>
        <translation>„Langsamer“ verlängert die Pausen nach Sätzen und Absätzen vor den Einheiten.</translation>
    </message>
</context>
<context>
    <name>CRatingRow</name>
    <message>
        <source>How well did you follow? 1 (poorly) to 5 (fully):</source>
        <translation>Wie gut konnten Sie folgen? 1 (schlecht) bis 5 (ganz):</translation>
    </message>
</context>
<context>
    <name>CReadingLogWindow</name>
    <message>
        <source>Reading log</source>
        <translation>Leseprotokoll</translation>
    </message>
    <message>
        <source>Speed</source>
        <translation>Tempo</translation>
    </message>
    <message>
        <source>Minutes a day</source>
        <translation>Minuten pro Tag</translation>
    </message>
    <message>
        <source>Place in each text</source>
        <translation>Stelle in jedem Text</translation>
    </message>
    <message>
        <source>Export CSV...</source>
        <translation>Als CSV exportieren...</translation>
    </message>
    <message>
        <source>You followed best at about %1 words per minute.</source>
        <translation>Am besten konnten Sie bei etwa %1 Wörtern pro Minute folgen.</translation>
    </message>
    <message>
        <source>Rate how well you followed after a session of five minutes or more, and the log shows the speed at which you follow best.</source>
        <translation>Bewerten Sie nach einer Sitzung von fünf Minuten oder mehr, wie gut Sie folgen konnten, und das Protokoll zeigt das Tempo, bei dem Sie am besten folgen.</translation>
    </message>
    <message>
        <source>Text</source>
        <translation>Text</translation>
    </message>
    <message>
        <source>Time read</source>
        <translation>Lesezeit</translation>
    </message>
    <message>
        <source>Words read</source>
        <translation>Gelesene Wörter</translation>
    </message>
    <message>
        <source>Share read</source>
        <translation>Gelesener Anteil</translation>
    </message>
    <message>
        <source>Words per minute</source>
        <translation>Wörter pro Minute</translation>
    </message>
    <message>
        <source>Sessions</source>
        <translation>Sitzungen</translation>
    </message>
    <message>
        <source>Last read</source>
        <translation>Zuletzt gelesen</translation>
    </message>
    <message>
        <source>Words per minute, each session of the last twelve weeks</source>
        <translation>Wörter pro Minute, jede Sitzung der letzten zwölf Wochen</translation>
    </message>
    <message>
        <source>Not rated</source>
        <translation>Nicht bewertet</translation>
    </message>
    <message>
        <source>Followed %1 of 5</source>
        <translation>Gefolgt: %1 von 5</translation>
    </message>
    <message>
        <source>Followed best: %1 wpm</source>
        <translation>Am besten gefolgt: %1 W/min</translation>
    </message>
    <message>
        <source>wpm</source>
        <translation>W/min</translation>
    </message>
    <message>
        <source>Minutes read</source>
        <translation>Gelesene Minuten</translation>
    </message>
    <message>
        <source>Minutes read a day, the last four weeks</source>
        <translation>Gelesene Minuten pro Tag, die letzten vier Wochen</translation>
    </message>
    <message>
        <source>min</source>
        <translation>min</translation>
    </message>
    <message>
        <source>Place in each text after each session of the last twelve weeks, in percent</source>
        <translation>Stelle in jedem Text nach jeder Sitzung der letzten zwölf Wochen, in Prozent</translation>
    </message>
    <message>
        <source>%</source>
        <translation>%</translation>
    </message>
    <message>
        <source>Export the reading log</source>
        <translation>Das Leseprotokoll exportieren</translation>
    </message>
    <message>
        <source>CSV files (*.csv)</source>
        <translation>CSV-Dateien (*.csv)</translation>
    </message>
    <message>
        <source>The reading log could not be written to %1.</source>
        <translation>Das Leseprotokoll konnte nicht nach %1 geschrieben werden.</translation>
    </message>
</context>
<context>
    <name>CReadingPane</name>
    <message>
        <source>Ch %1/%2</source>
        <translation>Kap. %1/%2</translation>
    </message>
    <message>
        <source>%1 s</source>
        <translation>%1 s</translation>
    </message>
    <message>
        <source>%1 min</source>
        <translation>%1 min</translation>
    </message>
    <message>
        <source>%1 h %2 min</source>
        <translation>%1 h %2 min</translation>
    </message>
    <message>
        <source>%1 left in chapter</source>
        <translation>noch %1 im Kapitel</translation>
    </message>
    <message>
        <source>%1 left</source>
        <translation>noch %1</translation>
    </message>
    <message>
        <source>about %1</source>
        <translation>etwa %1</translation>
    </message>
    <message>
        <source>%1 wpm</source>
        <translation>%1 W/min</translation>
    </message>
</context>
<context>
    <name>CRecentTextsMenu</name>
    <message>
        <source>No recent texts</source>
        <translation>Keine zuletzt gelesenen Texte</translation>
    </message>
</context>
<context>
    <name>CTextDocument</name>
    <message>
        <source>Error Saving File</source>
        <translation>Fehler beim Speichern der Datei</translation>
    </message>
    <message>
        <source>Error Opening File</source>
        <translation>Fehler beim Öffnen der Datei</translation>
    </message>
    <message>
        <source>Reading %1...</source>
        <translation>Lese %1...</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Text files and books (*.txt *.epub *.fb2 *.fb2.zip *.html *.htm *.xhtml *.pdf)</source>
        <translation>Texte und Bücher (*.txt *.epub *.fb2 *.fb2.zip *.html *.htm *.xhtml *.pdf)</translation>
    </message>
    <message>
        <source>Text files (*.txt)</source>
        <translation>Textdateien (*.txt)</translation>
    </message>
    <message>
        <source>All Files (*)</source>
        <translation>Alle Dateien (*)</translation>
    </message>
    <message>
        <source>Skimmet settings (*.SKM)</source>
        <translation>Skimmet-Einstellungen (*.SKM)</translation>
    </message>
    <message>
        <source>INI-Files (*.ini)</source>
        <translation>INI-Dateien (*.ini)</translation>
    </message>
    <message>
        <source>Open for Skimmet...</source>
        <translation>Öffnen für Skimmet...</translation>
    </message>
    <message>
        <source>There is no text to read.</source>
        <translation>Es gibt keinen Text zum Lesen.</translation>
    </message>
    <message>
        <source>Clipboard</source>
        <translation>Zwischenablage</translation>
    </message>
    <message>
        <source>Clipboard: %1</source>
        <translation>Zwischenablage: %1</translation>
    </message>
    <message>
        <source> (read-only)</source>
        <translation> (schreibgeschützt)</translation>
    </message>
    <message>
        <source>This text is open in another Skimmet window.</source>
        <translation>Dieser Text ist in einem anderen Skimmet-Fenster geöffnet.</translation>
    </message>
    <message>
        <source>That window keeps its settings, position and bookmarks; this one shows it read-only and saves nothing to its settings file.</source>
        <translation>Jenes Fenster verwaltet seine Einstellungen, Position und Lesezeichen; dieses zeigt ihn schreibgeschützt und speichert nichts in seiner Einstellungsdatei.</translation>
    </message>
    <message>
        <source>Are you sure?</source>
        <translation>Sind Sie sicher?</translation>
    </message>
    <message>
        <source>Open settings...</source>
        <translation>Einstellungen öffnen...</translation>
    </message>
    <message>
        <source>Open as plain text (*)</source>
        <translation>Als reinen Text öffnen (*)</translation>
    </message>
</context>
<context>
    <name>CommandLine</name>
    <message>
        <source>Displays help on commandline options.</source>
        <translation>Zeigt Hilfe zu den Befehlszeilenoptionen.</translation>
    </message>
    <message>
        <source>Displays version information.</source>
        <translation>Zeigt Versionsinformationen.</translation>
    </message>
    <message>
        <source>Print the units that reading &lt;file&gt; would flash, from its stored position on, and exit.</source>
        <translation>Die Einheiten ausgeben, die das Lesen von &lt;file&gt; ab der gespeicherten Position zeigen würde, und beenden.</translation>
    </message>
    <message>
        <source>Print the units of --units with the gap before each and its show time in ms, and exit.</source>
        <translation>Die Einheiten von --units mit der Pause davor und ihrer Anzeigezeit in ms ausgeben, und beenden.</translation>
    </message>
    <message>
        <source>Print the text that opening &lt;file&gt; gives (a book&apos;s text too), in UTF-8, and exit.</source>
        <translation>Den Text ausgeben, den das Öffnen von &lt;file&gt; ergibt (auch den eines Buchs), in UTF-8, und beenden.</translation>
    </message>
    <message>
        <source>Print the table of contents of &lt;file&gt;: each entry&apos;s offset, a tab and its indented title, and exit.</source>
        <translation>Das Inhaltsverzeichnis von &lt;file&gt; ausgeben: den Versatz jedes Eintrags, einen Tabulator und seinen eingerückten Titel, und beenden.</translation>
    </message>
    <message>
        <source>Print the encoding that opening &lt;file&gt; would read it in, and exit.</source>
        <translation>Die Kodierung ausgeben, in der &lt;file&gt; gelesen würde, und beenden.</translation>
    </message>
    <message>
        <source>Speed reader that flashes a text a few words at a time.</source>
        <translation>Schnelllese-Programm, das einen Text jeweils ein paar Wörter zeigt.</translation>
    </message>
    <message>
        <source>Text file to open at start.</source>
        <translation>Textdatei, die beim Start geöffnet wird.</translation>
    </message>
    <message>
        <source>--%1 takes one file and nothing else.</source>
        <translation>--%1 nimmt eine Datei und sonst nichts.</translation>
    </message>
    <message>
        <source>Only one file can be opened.</source>
        <translation>Es kann nur eine Datei geöffnet werden.</translation>
    </message>
    <message>
        <source>Print the reading log as CSV, a row a session, and exit.</source>
        <translation>Das Leseprotokoll als CSV ausgeben, eine Zeile pro Sitzung, und beenden.</translation>
    </message>
</context>
<context>
    <name>Commands</name>
    <message>
        <source>Reads the text again in this encoding</source>
        <translation>Liest den Text in dieser Kodierung neu</translation>
    </message>
    <message>
        <source>Open...	Ctrl+O</source>
        <translation>&amp;Öffnen...	Ctrl+O</translation>
    </message>
    <message>
        <source>Opens an existing text file</source>
        <translation>Öffnet eine vorhandene Textdatei</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>Öffnen</translation>
    </message>
    <message>
        <source>Load settings...</source>
        <translation>Einstellungen laden...</translation>
    </message>
    <message>
        <source>Load settings from file</source>
        <translation>Einstellungen aus Datei laden</translation>
    </message>
    <message>
        <source>...as default</source>
        <translation>...als Standard</translation>
    </message>
    <message>
        <source>Saves currient settings as defaulte settings of the program</source>
        <translation>Speichert die aktuellen Einstellungen als Standardeinstellungen des Programms</translation>
    </message>
    <message>
        <source>Save settings</source>
        <translation>Einstellungen speichern</translation>
    </message>
    <message>
        <source>...of this file</source>
        <translation>...dieser Datei</translation>
    </message>
    <message>
        <source>Saves settings as settings of the currently opened file</source>
        <translation>Speichert die Einstellungen als Einstellungen der geöffneten Datei</translation>
    </message>
    <message>
        <source>Save settings of this file</source>
        <translation>Einstellungen dieser Datei speichern</translation>
    </message>
    <message>
        <source>E&amp;xit	Ctrl+Q</source>
        <translation>&amp;Beenden	Ctrl+Q</translation>
    </message>
    <message>
        <source>Quit the application; prompts to save documents</source>
        <translation>Das Programm beenden</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>Beenden</translation>
    </message>
    <message>
        <source>&amp;Undo	Ctrl+Z</source>
        <translation>&amp;Rückgängig	Ctrl+Z</translation>
    </message>
    <message>
        <source>Undo the last action</source>
        <translation>Die letzte Aktion rückgängig machen</translation>
    </message>
    <message>
        <source>Undo</source>
        <translation>Rückgängig</translation>
    </message>
    <message>
        <source>Cu&amp;t	Ctrl+X</source>
        <translation>&amp;Ausschneiden	Ctrl+X</translation>
    </message>
    <message>
        <source>Cut the selection and put it on the Clipboard</source>
        <translation>Die Auswahl ausschneiden und in die Zwischenablage legen</translation>
    </message>
    <message>
        <source>Cut</source>
        <translation>Ausschneiden</translation>
    </message>
    <message>
        <source>&amp;Copy	Ctrl+C</source>
        <translation>&amp;Kopieren	Ctrl+C</translation>
    </message>
    <message>
        <source>Copy the selection and put it on the Clipboard</source>
        <translation>Das Gezeigte in die Zwischenablage kopieren</translation>
    </message>
    <message>
        <source>Copy</source>
        <translation>Kopieren</translation>
    </message>
    <message>
        <source>&amp;Paste	Ctrl+V</source>
        <translation>&amp;Einfügen	Ctrl+V</translation>
    </message>
    <message>
        <source>Insert Clipboard contents</source>
        <translation>Den Text aus der Zwischenablage lesen</translation>
    </message>
    <message>
        <source>Paste</source>
        <translation>Einfügen</translation>
    </message>
    <message>
        <source>&amp;Toolbar</source>
        <translation>&amp;Werkzeugleiste</translation>
    </message>
    <message>
        <source>Show or hide the toolbar</source>
        <translation>Die Werkzeugleiste ein- oder ausblenden</translation>
    </message>
    <message>
        <source>Toggle ToolBar</source>
        <translation>Werkzeugleiste umschalten</translation>
    </message>
    <message>
        <source>&amp;Status Bar</source>
        <translation>&amp;Statusleiste</translation>
    </message>
    <message>
        <source>Show or hide the status bar</source>
        <translation>Die Statusleiste ein- oder ausblenden</translation>
    </message>
    <message>
        <source>Toggle StatusBar</source>
        <translation>Statusleiste umschalten</translation>
    </message>
    <message>
        <source>Full Screen	F11</source>
        <translation>&amp;Vollbild	F11</translation>
    </message>
    <message>
        <source>Full Screen View</source>
        <translation>Vollbildanzeige</translation>
    </message>
    <message>
        <source>Full Screen</source>
        <translation>Vollbild</translation>
    </message>
    <message>
        <source>Options panel</source>
        <translation>Einstellungsleiste</translation>
    </message>
    <message>
        <source>Shows\Hides an options panel</source>
        <translation>Zeigt oder verbirgt die Einstellungsleiste</translation>
    </message>
    <message>
        <source>Option panel</source>
        <translation>Einstellungsleiste</translation>
    </message>
    <message>
        <source>Reading options</source>
        <translation>Leseoptionen</translation>
    </message>
    <message>
        <source>Shows the options panel and opens a page of reading options</source>
        <translation>Zeigt die Einstellungsleiste mit der Seite der Leseoptionen</translation>
    </message>
    <message>
        <source>Move position</source>
        <translation>Position</translation>
    </message>
    <message>
        <source>Shows the options panel and opens a page of moving a text position</source>
        <translation>Zeigt die Einstellungsleiste mit der Seite zum Versetzen der Position</translation>
    </message>
    <message>
        <source>Run</source>
        <translation>Start</translation>
    </message>
    <message>
        <source>Pause</source>
        <translation>Pause</translation>
    </message>
    <message>
        <source>Stops and saves currient position</source>
        <translation>Hält an und merkt sich die aktuelle Position</translation>
    </message>
    <message>
        <source>STOP</source>
        <translation>STOPP</translation>
    </message>
    <message>
        <source>Stops tand sets the position to the beginning</source>
        <translation>Hält an und setzt die Position an den Anfang</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>Stopp</translation>
    </message>
    <message>
        <source>Add Bookmark</source>
        <translation>Lesezeichen hinzufügen</translation>
    </message>
    <message>
        <source>Adds a bookmark associated with the current position</source>
        <translation>Fügt ein Lesezeichen an der aktuellen Position hinzu</translation>
    </message>
    <message>
        <source>Run or Pause	Space</source>
        <translation>Start oder Pause	Space</translation>
    </message>
    <message>
        <source>Runs the reading, or pauses it while it runs</source>
        <translation>Startet das Lesen oder hält es an, während es läuft</translation>
    </message>
    <message>
        <source>Run or Pause</source>
        <translation>Start oder Pause</translation>
    </message>
    <message>
        <source>Back one sentence	Left</source>
        <translation>Einen Satz zurück	Left</translation>
    </message>
    <message>
        <source>Moves to the start of the previous sentence</source>
        <translation>Springt an den Anfang des vorigen Satzes</translation>
    </message>
    <message>
        <source>Back one sentence</source>
        <translation>Einen Satz zurück</translation>
    </message>
    <message>
        <source>Forward one sentence	Right</source>
        <translation>Einen Satz vor	Right</translation>
    </message>
    <message>
        <source>Moves to the start of the next sentence</source>
        <translation>Springt an den Anfang des nächsten Satzes</translation>
    </message>
    <message>
        <source>Forward one sentence</source>
        <translation>Einen Satz vor</translation>
    </message>
    <message>
        <source>Faster	Up</source>
        <translation>Schneller	Up</translation>
    </message>
    <message>
        <source>Shortens the gap and the duration by a tenth</source>
        <translation>Verkürzt Pause und Dauer um ein Zehntel</translation>
    </message>
    <message>
        <source>Faster</source>
        <translation>Schneller</translation>
    </message>
    <message>
        <source>Slower	Down</source>
        <translation>Langsamer	Down</translation>
    </message>
    <message>
        <source>Lengthens the gap and the duration by a tenth</source>
        <translation>Verlängert Pause und Dauer um ein Zehntel</translation>
    </message>
    <message>
        <source>Slower</source>
        <translation>Langsamer</translation>
    </message>
    <message>
        <source>Back to the start	Home</source>
        <translation>Zum Anfang	Home</translation>
    </message>
    <message>
        <source>Moves to the start of the text</source>
        <translation>Springt an den Anfang des Textes</translation>
    </message>
    <message>
        <source>Back to the start</source>
        <translation>Zum Anfang</translation>
    </message>
    <message>
        <source>Pace by content	Ctrl+P</source>
        <translation>Tempo nach Inhalt	Ctrl+P</translation>
    </message>
    <message>
        <source>Paces each unit by what it holds and what ended the one before</source>
        <translation>Bemisst jede Einheit nach ihrem Inhalt und dem Ende der vorigen</translation>
    </message>
    <message>
        <source>Pace by content</source>
        <translation>Tempo nach Inhalt</translation>
    </message>
    <message>
        <source>Back one unit	Ctrl+Left</source>
        <translation>Eine Einheit zurück	Ctrl+Left</translation>
    </message>
    <message>
        <source>Moves to the unit before</source>
        <translation>Springt zur vorigen Einheit</translation>
    </message>
    <message>
        <source>Back one unit</source>
        <translation>Eine Einheit zurück</translation>
    </message>
    <message>
        <source>Forward one unit	Ctrl+Right</source>
        <translation>Eine Einheit vor	Ctrl+Right</translation>
    </message>
    <message>
        <source>Moves to the unit after</source>
        <translation>Springt zur nächsten Einheit</translation>
    </message>
    <message>
        <source>Forward one unit</source>
        <translation>Eine Einheit vor</translation>
    </message>
    <message>
        <source>Back one paragraph	Ctrl+Up</source>
        <translation>Einen Absatz zurück	Ctrl+Up</translation>
    </message>
    <message>
        <source>Moves to the start of the previous paragraph</source>
        <translation>Springt an den Anfang des vorigen Absatzes</translation>
    </message>
    <message>
        <source>Back one paragraph</source>
        <translation>Einen Absatz zurück</translation>
    </message>
    <message>
        <source>Forward one paragraph	Ctrl+Down</source>
        <translation>Einen Absatz vor	Ctrl+Down</translation>
    </message>
    <message>
        <source>Moves to the start of the next paragraph</source>
        <translation>Springt an den Anfang des nächsten Absatzes</translation>
    </message>
    <message>
        <source>Forward one paragraph</source>
        <translation>Einen Absatz vor</translation>
    </message>
    <message>
        <source>Replay	Backspace</source>
        <translation>Wiederholen	Backspace</translation>
    </message>
    <message>
        <source>Reads the sentence again from its start, slowly at first</source>
        <translation>Liest den Satz von vorn, zuerst langsamer</translation>
    </message>
    <message>
        <source>Replay</source>
        <translation>Wiederholen</translation>
    </message>
    <message>
        <source>Back one chapter	Page Up</source>
        <translation>Ein Kapitel zurück	Page Up</translation>
    </message>
    <message>
        <source>Moves to the start of this chapter, or of the one before at its start</source>
        <translation>Springt an den Anfang dieses Kapitels, an seinem Anfang an den des vorigen</translation>
    </message>
    <message>
        <source>Back one chapter</source>
        <translation>Ein Kapitel zurück</translation>
    </message>
    <message>
        <source>Forward one chapter	Page Down</source>
        <translation>Ein Kapitel vor	Page Down</translation>
    </message>
    <message>
        <source>Moves to the start of the next chapter</source>
        <translation>Springt an den Anfang des nächsten Kapitels</translation>
    </message>
    <message>
        <source>Forward one chapter</source>
        <translation>Ein Kapitel vor</translation>
    </message>
    <message>
        <source>Pause at chapter end</source>
        <translation>Pause am Kapitelende</translation>
    </message>
    <message>
        <source>Pauses the reading once the last unit of a chapter has been shown</source>
        <translation>Hält das Lesen an, sobald die letzte Einheit eines Kapitels gezeigt wurde</translation>
    </message>
    <message>
        <source>&amp;About Skimmet...</source>
        <translation>&amp;Über Skimmet...</translation>
    </message>
    <message>
        <source>Display program information, version number and copyright</source>
        <translation>Programminformationen, Versionsnummer und Urheberrecht anzeigen</translation>
    </message>
    <message>
        <source>About</source>
        <translation>Über</translation>
    </message>
    <message>
        <source>Home Page</source>
        <translation>Homepage</translation>
    </message>
    <message>
        <source>Visit my WWW home page</source>
        <translation>Meine Homepage besuchen</translation>
    </message>
    <message>
        <source>Auto-detect</source>
        <translation>Automatisch erkennen</translation>
    </message>
    <message>
        <source>Reads the text again in the encoding its bytes show</source>
        <translation>Liest den Text in der Kodierung neu, die seine Bytes zeigen</translation>
    </message>
    <message>
        <source>Recent texts</source>
        <translation>Zuletzt gelesene Texte</translation>
    </message>
    <message>
        <source>SubOptions</source>
        <translation>Einstellungsseiten</translation>
    </message>
    <message>
        <source>Encoding</source>
        <translation>Kodierung</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Datei</translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation>&amp;Bearbeiten</translation>
    </message>
    <message>
        <source>&amp;View</source>
        <translation>&amp;Ansicht</translation>
    </message>
    <message>
        <source>&amp;Run</source>
        <translation>&amp;Lesen</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Hilfe</translation>
    </message>
    <message>
        <source>Reading log</source>
        <translation>Leseprotokoll</translation>
    </message>
    <message>
        <source>Shows what was read, how fast and how well it was followed</source>
        <translation>Zeigt, was gelesen wurde, wie schnell und wie gut Sie folgen konnten</translation>
    </message>
</context>
<context>
    <name>DisplayModes</name>
    <message>
        <source>%1 x %2  </source>
        <translation>%1 x %2  </translation>
    </message>
    <message>
        <source>%1 MHz  </source>
        <translation>%1 Hz  </translation>
    </message>
    <message>
        <source>%1 bpp</source>
        <translation>%1 Bit</translation>
    </message>
</context>
<context>
    <name>Messages</name>
    <message>
        <source>Error Opening File</source>
        <translation>Fehler beim Öffnen der Datei</translation>
    </message>
    <message>
        <source>Size of a text buffer can not be more than 1 Gb</source>
        <translation>Ein Textpuffer darf nicht größer als 1 GB sein</translation>
    </message>
    <message>
        <source>Error Allocating Memory</source>
        <translation>Fehler beim Reservieren von Speicher</translation>
    </message>
    <message>
        <source>Error Reading File</source>
        <translation>Fehler beim Lesen der Datei</translation>
    </message>
    <message>
        <source>The text is over 2 Gb once converted to UTF-8</source>
        <translation>Der Text ist nach der Umwandlung in UTF-8 größer als 2 GB</translation>
    </message>
</context>
<context>
    <name>MovePositionPage</name>
    <message>
        <source>Bookmarks...</source>
        <translation>Lesezeichen...</translation>
    </message>
    <message>
        <source>%</source>
        <translation>%</translation>
    </message>
    <message>
        <source>Chapters: choose one to move to its start</source>
        <translation>Kapitel: eines wählen, um an seinen Anfang zu springen</translation>
    </message>
    <message>
        <source>&lt;</source>
        <translation>&lt;</translation>
    </message>
    <message>
        <source>&gt;</source>
        <translation>&gt;</translation>
    </message>
    <message>
        <source>step:</source>
        <translation>Schritt:</translation>
    </message>
</context>
<context>
    <name>OptionsPanel</name>
    <message>
        <source>MainText</source>
        <translation>Haupttext</translation>
    </message>
    <message>
        <source>Adjust...</source>
        <translation>Anpassen...</translation>
    </message>
    <message>
        <source>Reading options</source>
        <translation>Leseoptionen</translation>
    </message>
    <message>
        <source>Move</source>
        <translation>Springen</translation>
    </message>
    <message>
        <source>Pacing</source>
        <translation>Tempo</translation>
    </message>
    <message>
        <source>Full Screen Modes:</source>
        <translation>Vollbildmodi:</translation>
    </message>
    <message>
        <source>Hide</source>
        <translation>Ausblenden</translation>
    </message>
    <message>
        <source>Default</source>
        <translation>Standard</translation>
    </message>
    <message>
        <source>Bkgr</source>
        <translation>Hgrd</translation>
    </message>
    <message>
        <source>Font</source>
        <translation>Schrift</translation>
    </message>
</context>
<context>
    <name>ReadingOptionsPage</name>
    <message>
        <source>Between:</source>
        <translation>Pause:</translation>
    </message>
    <message>
        <source>Duration:</source>
        <translation>Dauer:</translation>
    </message>
    <message>
        <source>MAX simb</source>
        <translation>MAX Zeichen</translation>
    </message>
    <message>
        <source>min simb</source>
        <translation>min Zeichen</translation>
    </message>
    <message>
        <source>Text width:</source>
        <translation>Textbreite:</translation>
    </message>
    <message>
        <source>Stop-simbols:</source>
        <translation>Stoppzeichen:</translation>
    </message>
    <message>
        <source>Unconditional stop-simbols:</source>
        <translation>Unbedingte Stoppzeichen:</translation>
    </message>
    <message>
        <source>&lt;</source>
        <translation>&lt;</translation>
    </message>
    <message>
        <source>&gt;</source>
        <translation>&gt;</translation>
    </message>
    <message>
        <source>Text color</source>
        <translation>Textfarbe</translation>
    </message>
</context>
</TS>
