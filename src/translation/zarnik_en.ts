<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="de">
<context>
    <name>LoadReason</name>
    <message>
        <source>nicht vorhanden</source>
        <translation>missing</translation>
    </message>
    <message>
        <source>nicht lesbar</source>
        <translation>not readable</translation>
    </message>
    <message>
        <source>falsche Größe</source>
        <translation>wrong size</translation>
    </message>
    <message>
        <source>fremde Netzform</source>
        <translation>foreign network shape</translation>
    </message>
    <message>
        <source>keine reguläre Datei</source>
        <translation>not a regular file</translation>
    </message>
    <message>
        <source>falsche Größe (%1 statt %2 Bytes)</source>
        <translation>wrong size (%1 instead of %2 bytes)</translation>
    </message>
    <message>
        <source>größer als ein voller Lernweg</source>
        <translation>larger than a full learning path</translation>
    </message>
    <message>
        <source>kein Lernweg dieses Programms</source>
        <translation>not a learning path of this program</translation>
    </message>
    <message>
        <source>Lernweg unvollständig (abgeschnitten)</source>
        <translation>learning path incomplete (cut off)</translation>
    </message>
    <message>
        <source>Lernweg beschädigt (Prüfsumme oder Einträge falsch)</source>
        <translation>learning path damaged (checksum or entries wrong)</translation>
    </message>
</context>
<context>
    <name>StringTable</name>
    <message>
        <source>Einstellmodus</source>
        <translation>Adjust mode</translation>
    </message>
    <message>
        <source>ANN trainiert</source>
        <translation>ANN training</translation>
    </message>
    <message>
        <source>ANN aktiviert</source>
        <translation>ANN active</translation>
    </message>
    <message>
        <source>Bingo!

Kugel wieder mitnehmen?</source>
        <translation>Bingo!

Take the ball along again?</translation>
    </message>
    <message>
        <source>Kann Datei &apos;Zarnik.dat&apos; nicht laden!</source>
        <translation>Cannot load file &apos;Zarnik.dat&apos;!</translation>
    </message>
    <message>
        <source>Kann Datei &apos;Zarnik.dat&apos; nicht speichern!</source>
        <translation>Cannot save file &apos;Zarnik.dat&apos;!</translation>
    </message>
    <message>
        <source>Bitte warten, ANN ist noch aktiv!</source>
        <translation>Please wait, the ANN is still active!</translation>
    </message>
</context>
<context>
    <name>TAboutDlg</name>
    <message>
        <source>Info zu Zarnik32</source>
        <translation>About Zarnik32</translation>
    </message>
    <message>
        <source>Ein Roboterarm, gesteuert von</source>
        <translation>A robot arm, steered by</translation>
    </message>
    <message>
        <source>neuronalen Netzen, trainiert durch</source>
        <translation>neural networks, trained by</translation>
    </message>
    <message>
        <source>einen genetischen Algorithmus.</source>
        <translation>a genetic algorithm.</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
</context>
<context>
    <name>TAnnGaDlg</name>
    <message>
        <source>Abbrechen</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>GA - Parameter</source>
        <translation>GA - Parameters</translation>
    </message>
</context>
<context>
    <name>TFileDialog</name>
    <message>
        <source>Datei %1 ist schon vorhanden. Ersetzen?</source>
        <translation>File %1 exists already. Replace it?</translation>
    </message>
    <message>
        <source>Dateien %1 und %2 sind schon vorhanden. Ersetzen?</source>
        <translation>Files %1 and %2 exist already. Replace them?</translation>
    </message>
</context>
<context>
    <name>TFitnessChartWindow</name>
    <message>
        <source>Fitness-Verlauf</source>
        <translation>Fitness history</translation>
    </message>
    <message>
        <source>bester (Training 2)</source>
        <translation>best (training 2)</translation>
    </message>
    <message>
        <source>Durchschnitt (Training 2)</source>
        <translation>average (training 2)</translation>
    </message>
    <message>
        <source>bester (Training 1)</source>
        <translation>best (training 1)</translation>
    </message>
    <message>
        <source>bisher bestes</source>
        <translation>best so far</translation>
    </message>
    <message>
        <source>Ablagen des Besten</source>
        <translation>best&apos;s deliveries</translation>
    </message>
    <message>
        <source>Generation</source>
        <translation>Generation</translation>
    </message>
    <message>
        <source>Fitness</source>
        <translation>Fitness</translation>
    </message>
    <message>
        <source>Training 2: Generationen</source>
        <translation>Training 2: generations</translation>
    </message>
    <message>
        <source>Training 1: Durchgänge</source>
        <translation>Training 1: passes</translation>
    </message>
    <message>
        <source>Durchgang (Training 1)</source>
        <translation>Pass (training 1)</translation>
    </message>
    <message>
        <source>Generation (Training 2)</source>
        <translation>Generation (training 2)</translation>
    </message>
    <message>
        <source>Lernweg</source>
        <translation>Learning path</translation>
    </message>
</context>
<context>
    <name>TFitnessHistory</name>
    <message>
        <source>keine reguläre Datei</source>
        <translation>not a regular file</translation>
    </message>
    <message>
        <source>Verweis eines anderen Benutzers</source>
        <translation>another user&apos;s link</translation>
    </message>
    <message>
        <source>zu viele symbolische Verweise</source>
        <translation>too many symbolic links</translation>
    </message>
    <message>
        <source>keine Leseberechtigung</source>
        <translation>no permission to read</translation>
    </message>
    <message>
        <source>kein Fitnessverlauf</source>
        <translation>not a fitness history</translation>
    </message>
    <message>
        <source>nicht lesbar</source>
        <translation>not readable</translation>
    </message>
</context>
<context>
    <name>TKeyOverviewDlg</name>
    <message>
        <source>Tastenbelegung</source>
        <translation>Keys</translation>
    </message>
    <message>
        <source>Taste</source>
        <translation>Key</translation>
    </message>
    <message>
        <source>Befehl</source>
        <translation>Command</translation>
    </message>
</context>
<context>
    <name>TLearningPathDlg</name>
    <message>
        <source>Lernweg</source>
        <translation>Learning path</translation>
    </message>
    <message>
        <source>Die bisher besten Netze aus %1, jedes in allen %2 Durchgängen gemessen:</source>
        <translation>The best networks so far from %1, each measured in all %2 episodes:</translation>
    </message>
    <message>
        <source>Generation %1: %2 Ablagen und %3 Aufnahmen je Durchgang, mittlere Fitness %4</source>
        <translation>Generation %1: %2 deliveries and %3 takes per episode, mean fitness %4</translation>
    </message>
    <message>
        <source>Vorführen</source>
        <translation>Demonstrate</translation>
    </message>
    <message>
        <source>Schließen</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>Vergleichen...</source>
        <translation>Compare...</translation>
    </message>
    <message>
        <source>Vergleichen mit:</source>
        <translation>Compare with:</translation>
    </message>
    <message>
        <source>Generation %1</source>
        <translation>Generation %1</translation>
    </message>
</context>
<context>
    <name>TManyRunsDlg</name>
    <message>
        <source>läuft</source>
        <translation>running</translation>
    </message>
    <message>
        <source>neu gestartet</source>
        <translation>restarted</translation>
    </message>
    <message>
        <source>Ziel erreicht</source>
        <translation>goal reached</translation>
    </message>
    <message>
        <source>fertig</source>
        <translation>done</translation>
    </message>
    <message>
        <source>angehalten</source>
        <translation>stopped</translation>
    </message>
    <message>
        <source>fehlgeschlagen</source>
        <translation>failed</translation>
    </message>
    <message>
        <source>Mehrere Läufe</source>
        <translation>Several runs</translation>
    </message>
    <message>
        <source>keins</source>
        <translation>none</translation>
    </message>
    <message>
        <source>von der Uhr</source>
        <translation>from the clock</translation>
    </message>
    <message>
        <source>&amp;Läufe:</source>
        <translation>&amp;Runs:</translation>
    </message>
    <message>
        <source>&amp;Generationen je Lauf höchstens:</source>
        <translation>&amp;Generations per run at most:</translation>
    </message>
    <message>
        <source>&amp;Ziel: Ablagen je Episode (Mittel über alle 100):</source>
        <translation>G&amp;oal: deliveries per episode (mean over all 100):</translation>
    </message>
    <message>
        <source>Start&amp;wert des ersten Laufs:</source>
        <translation>S&amp;eed of the first run:</translation>
    </message>
    <message>
        <source>Population:</source>
        <translation>Population:</translation>
    </message>
    <message>
        <source>Lauf</source>
        <translation>Run</translation>
    </message>
    <message>
        <source>Startwert</source>
        <translation>Seed</translation>
    </message>
    <message>
        <source>Generation</source>
        <translation>Generation</translation>
    </message>
    <message>
        <source>beste Fitness</source>
        <translation>best fitness</translation>
    </message>
    <message>
        <source>Ablagen des Besten</source>
        <translation>deliveries of the best</translation>
    </message>
    <message>
        <source>geprüft</source>
        <translation>checked</translation>
    </message>
    <message>
        <source>bestes geprüft</source>
        <translation>best checked</translation>
    </message>
    <message>
        <source>Zustand</source>
        <translation>state</translation>
    </message>
    <message>
        <source>&amp;Starten</source>
        <translation>&amp;Start</translation>
    </message>
    <message>
        <source>&amp;Anhalten</source>
        <translation>S&amp;top</translation>
    </message>
    <message>
        <source>Im &amp;Verlauf zeigen</source>
        <translation>Show in &amp;history</translation>
    </message>
    <message>
        <source>Gewinner &amp;übernehmen</source>
        <translation>&amp;Adopt winner</translation>
    </message>
    <message>
        <source>Schließen</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>Der Trainer &apos;%1&apos; lässt sich nicht starten.</source>
        <translation>The trainer &apos;%1&apos; cannot be started.</translation>
    </message>
    <message>
        <source>Der Startwert ist eine ganze Zahl von 0 bis 18446744073709551615.</source>
        <translation>The seed is a whole number from 0 to 18446744073709551615.</translation>
    </message>
    <message>
        <source>Am Ende ersetzt der beste Lauf die Datei &apos;%1&apos;. Fortfahren?</source>
        <translation>At the end the best run replaces the file &apos;%1&apos;. Go on?</translation>
    </message>
    <message>
        <source>Die Läufe trainieren.</source>
        <translation>The runs are training.</translation>
    </message>
    <message>
        <source>Die Läufe speichern und halten an...</source>
        <translation>The runs store their files and stop...</translation>
    </message>
    <message>
        <source>Fertig; kein Lauf hat das Ziel erreicht.</source>
        <translation>Done; no run reached the goal.</translation>
    </message>
    <message>
        <source>Fertig. Gewinner: %1</source>
        <translation>Done. Winner: %1</translation>
    </message>
    <message>
        <source>Angehalten; jeder Lauf hat seine Datei gespeichert. &quot;Fortsetzen&quot; setzt sie fort.</source>
        <translation>Stopped; every run has stored its file. &quot;Resume&quot; goes on.</translation>
    </message>
    <message>
        <source>Der Trainer endete mit Status %1: %2</source>
        <translation>The trainer ended with status %1: %2</translation>
    </message>
    <message>
        <source>Der Gewinner %1 ist die Population des Fensters (noch nicht gespeichert).</source>
        <translation>The winner %1 is the window&apos;s population (not stored yet).</translation>
    </message>
    <message>
        <source>Fitness-Verlauf: %1</source>
        <translation>Fitness history: %1</translation>
    </message>
    <message>
        <source>&amp;Fortsetzen</source>
        <translation>Res&amp;ume</translation>
    </message>
    <message>
        <source>Der Gewinner %1 ist die Population des Fensters.</source>
        <translation>The winner %1 is the window&apos;s population.</translation>
    </message>
    <message>
        <source>Die Läufe trainieren; der vorige Satz liegt jetzt in &apos;%1&apos;.</source>
        <translation>The runs are training; the set before is now in &apos;%1&apos;.</translation>
    </message>
    <message>
        <source>In &apos;%1&apos; liegt ein anderer Satz von Läufen (%2). &quot;Neu beginnen&quot; legt ihn beiseite, nichts davon wird gelöscht.</source>
        <translation>&apos;%1&apos; holds another set of runs (%2). &quot;Start over&quot; moves it aside; nothing of it is deleted.</translation>
    </message>
    <message>
        <source>&amp;Neu beginnen</source>
        <translation>&amp;Start over</translation>
    </message>
    <message>
        <source>Kann &apos;%1&apos; nicht beiseite legen: %2</source>
        <translation>Cannot move &apos;%1&apos; aside: %2</translation>
    </message>
    <message>
        <source>fortgesetzt von</source>
        <translation>continues from</translation>
    </message>
    <message>
        <source>Lauf %1, Generation %2</source>
        <translation>run %1, generation %2</translation>
    </message>
    <message>
        <source>Alle Läufe im &amp;Bild</source>
        <translation>All runs in a &amp;picture</translation>
    </message>
    <message>
        <source>Alle Läufe: %1</source>
        <translation>All runs: %1</translation>
    </message>
    <message>
        <source>Alle Läufe: %1 (%2 nicht lesbar)</source>
        <translation>All runs: %1 (%2 unreadable)</translation>
    </message>
</context>
<context>
    <name>TNetworkView</name>
    <message>
        <source>Kugel x</source>
        <translation>Ball x</translation>
    </message>
    <message>
        <source>Kugel y</source>
        <translation>Ball y</translation>
    </message>
    <message>
        <source>Greifer x</source>
        <translation>Gripper x</translation>
    </message>
    <message>
        <source>Greifer y</source>
        <translation>Gripper y</translation>
    </message>
    <message>
        <source>Ziel x</source>
        <translation>Target x</translation>
    </message>
    <message>
        <source>Ziel y</source>
        <translation>Target y</translation>
    </message>
    <message>
        <source>Richtung</source>
        <translation>Direction</translation>
    </message>
    <message>
        <source>Winkel A</source>
        <translation>Angle A</translation>
    </message>
    <message>
        <source>Winkel B</source>
        <translation>Angle B</translation>
    </message>
    <message>
        <source>Winkel C</source>
        <translation>Angle C</translation>
    </message>
    <message>
        <source>Winkel D</source>
        <translation>Angle D</translation>
    </message>
    <message>
        <source>Achse %1</source>
        <translation>Joint %1</translation>
    </message>
    <message>
        <source>Verbindungen: %1 von %2</source>
        <translation>Links: %1 of %2</translation>
    </message>
</context>
<context>
    <name>TNetworkViewWindow</name>
    <message>
        <source>Netzansicht</source>
        <translation>Network view</translation>
    </message>
</context>
<context>
    <name>TPathComparisonDlg</name>
    <message>
        <source>Lernweg: Vergleich</source>
        <translation>Learning path: comparison</translation>
    </message>
    <message>
        <source>Schließen</source>
        <translation>Close</translation>
    </message>
</context>
<context>
    <name>TPictureWindow</name>
    <message>
        <source>Bild speichern</source>
        <translation>Save picture</translation>
    </message>
    <message>
        <source>PNG-Bild (*.png)</source>
        <translation>PNG image (*.png)</translation>
    </message>
    <message>
        <source>Bild speichern...</source>
        <translation>Save picture...</translation>
    </message>
</context>
<context>
    <name>TSetChartWindow</name>
    <message>
        <source>Alle Läufe</source>
        <translation>All runs</translation>
    </message>
    <message>
        <source>Alle Läufe: Ablagen je Episode in allen 100 Episoden</source>
        <translation>All runs: deliveries per episode over all 100 episodes</translation>
    </message>
    <message>
        <source>Generationen des Platzes</source>
        <translation>generations of the place</translation>
    </message>
    <message>
        <source>Ablagen je Episode</source>
        <translation>deliveries per episode</translation>
    </message>
    <message>
        <source>mittlere Hälfte</source>
        <translation>middle half</translation>
    </message>
    <message>
        <source>Lauf %1</source>
        <translation>run %1</translation>
    </message>
    <message>
        <source>Median</source>
        <translation>median</translation>
    </message>
    <message>
        <source>Ziel %1</source>
        <translation>goal %1</translation>
    </message>
    <message>
        <source>Kopie eines Besten</source>
        <translation>copy of a best</translation>
    </message>
    <message>
        <source>Neustart</source>
        <translation>restart</translation>
    </message>
</context>
<context>
    <name>TZarnikWindow</name>
    <message>
        <source>Kann Datei &apos;%1&apos; nicht laden: %2</source>
        <translation>Cannot load file &apos;%1&apos;: %2</translation>
    </message>
    <message>
        <source>Pause</source>
        <translation>Paused</translation>
    </message>
    <message>
        <source>Aufnahme</source>
        <translation>Recording</translation>
    </message>
    <message>
        <source>Zarnik-Population (*.dat)</source>
        <translation>Zarnik population (*.dat)</translation>
    </message>
    <message>
        <source>Population öffnen</source>
        <translation>Open population</translation>
    </message>
    <message>
        <source>Population speichern unter</source>
        <translation>Save population as</translation>
    </message>
    <message>
        <source>Die Population wurde geändert. Vorher speichern?</source>
        <translation>The population has changed. Save it first?</translation>
    </message>
    <message>
        <source>&amp;Programm</source>
        <translation>&amp;Program</translation>
    </message>
    <message>
        <source>&amp;Laden...</source>
        <translation>&amp;Load...</translation>
    </message>
    <message>
        <source>&amp;Speichern</source>
        <translation>&amp;Save</translation>
    </message>
    <message>
        <source>&amp;Öffnen...</source>
        <translation>&amp;Open...</translation>
    </message>
    <message>
        <source>Speichern &amp;unter...</source>
        <translation>Save &amp;as...</translation>
    </message>
    <message>
        <source>B&amp;ild speichern...</source>
        <translation>Save &amp;picture...</translation>
    </message>
    <message>
        <source>&amp;Beenden</source>
        <translation>E&amp;xit</translation>
    </message>
    <message>
        <source>&amp;Simulator</source>
        <translation>&amp;Simulator</translation>
    </message>
    <message>
        <source>Training  &amp;1	F1</source>
        <translation>Training  &amp;1	F1</translation>
    </message>
    <message>
        <source>Training  &amp;2	F2</source>
        <translation>Training  &amp;2	F2</translation>
    </message>
    <message>
        <source>&amp;Aktivieren	F3</source>
        <translation>&amp;Activate	F3</translation>
    </message>
    <message>
        <source>&amp;Nur Umrisse	F4</source>
        <translation>&amp;Outlines only	F4</translation>
    </message>
    <message>
        <source>&amp;Fitness-Verlauf	F7</source>
        <translation>&amp;Fitness history	F7</translation>
    </message>
    <message>
        <source>N&amp;etzansicht	F8</source>
        <translation>&amp;Network view	F8</translation>
    </message>
    <message>
        <source>&amp;Tempo</source>
        <translation>&amp;Tempo</translation>
    </message>
    <message>
        <source>&amp;Langsam</source>
        <translation>&amp;Slow</translation>
    </message>
    <message>
        <source>&amp;Normal</source>
        <translation>&amp;Normal</translation>
    </message>
    <message>
        <source>&amp;Maximal</source>
        <translation>&amp;Maximum</translation>
    </message>
    <message>
        <source>&amp;Pause	P</source>
        <translation>&amp;Pause	P</translation>
    </message>
    <message>
        <source>&amp;Einzelschritt	S</source>
        <translation>Single s&amp;tep	S</translation>
    </message>
    <message>
        <source>Fil&amp;m aufnehmen...</source>
        <translation>Record fil&amp;m...</translation>
    </message>
    <message>
        <source>&amp;Zurücksetzen	F5</source>
        <translation>&amp;Reset	F5</translation>
    </message>
    <message>
        <source>&amp;Justieren	F6</source>
        <translation>Fit &amp;window	F6</translation>
    </message>
    <message>
        <source>&amp;Einstellen</source>
        <translation>&amp;Adjust</translation>
    </message>
    <message>
        <source>Rotation	+</source>
        <translation>Rotation	+</translation>
    </message>
    <message>
        <source>Rotation	-</source>
        <translation>Rotation	-</translation>
    </message>
    <message>
        <source>Achse	A</source>
        <translation>Joint	A</translation>
    </message>
    <message>
        <source>Achse	B</source>
        <translation>Joint	B</translation>
    </message>
    <message>
        <source>Achse	C</source>
        <translation>Joint	C</translation>
    </message>
    <message>
        <source>Achse	D</source>
        <translation>Joint	D</translation>
    </message>
    <message>
        <source>Nach links	L</source>
        <translation>Turn left	L</translation>
    </message>
    <message>
        <source>Nach rechts	R</source>
        <translation>Turn right	R</translation>
    </message>
    <message>
        <source>Podest	E</source>
        <translation>Platform	E</translation>
    </message>
    <message>
        <source>Podest	F</source>
        <translation>Platform	F</translation>
    </message>
    <message>
        <source>Nach oben	O</source>
        <translation>Raise	O</translation>
    </message>
    <message>
        <source>Nach unten	U</source>
        <translation>Lower	U</translation>
    </message>
    <message>
        <source>&amp;?</source>
        <translation>&amp;?</translation>
    </message>
    <message>
        <source>&amp;Info</source>
        <translation>&amp;About</translation>
    </message>
    <message>
        <source>&amp;Tastenbelegung</source>
        <translation>&amp;Keys</translation>
    </message>
    <message>
        <source> (Ziffernblock)</source>
        <translation> (keypad)</translation>
    </message>
    <message>
        <source>Kann Film &apos;%1&apos; nicht aufnehmen!</source>
        <translation>Cannot record film &apos;%1&apos;!</translation>
    </message>
    <message>
        <source>Film aufnehmen</source>
        <translation>Record film</translation>
    </message>
    <message>
        <source>Video (*.mp4 *.webm)</source>
        <translation>Video (*.mp4 *.webm)</translation>
    </message>
    <message>
        <source>Ablagen: %1</source>
        <translation>Deliveries: %1</translation>
    </message>
    <message>
        <source>Fitnessverlauf &apos;%1&apos; nicht gelesen: %2</source>
        <translation>Fitness history &apos;%1&apos; not read: %2</translation>
    </message>
    <message>
        <source>ein Trainer arbeitet daran (Prozess %1)</source>
        <translation>a trainer is working on it (process %1)</translation>
    </message>
    <message>
        <source>ein Trainer arbeitet daran</source>
        <translation>a trainer is working on it</translation>
    </message>
    <message>
        <source>Kann Datei &apos;%1&apos; nicht speichern: %2</source>
        <translation>Cannot save file &apos;%1&apos;: %2</translation>
    </message>
    <message>
        <source>&amp;Neue Population...</source>
        <translation>&amp;New population...</translation>
    </message>
    <message>
        <source>&amp;Vorführen	F9</source>
        <translation>&amp;Demonstrate	F9</translation>
    </message>
    <message>
        <source>Mehrere &amp;Läufe...</source>
        <translation>Several r&amp;uns...</translation>
    </message>
    <message>
        <source>Ablagen: %1 in %2 Durchgängen (%3 je Durchgang)
Aufnahmen: %4
mittlere Fitness: %5</source>
        <translation>Deliveries: %1 in %2 episodes (%3 per episode)
Takes: %4
mean fitness: %5</translation>
    </message>
    <message>
        <source>Vorführung: Durchgang %1 von %2 (Podeste %3 und %4), Aufnahmen %5, Ablagen %6</source>
        <translation>Demonstration: episode %1 of %2 (platforms %3 and %4), takes %5, deliveries %6</translation>
    </message>
    <message>
        <source>Neue Population</source>
        <translation>New population</translation>
    </message>
    <message>
        <source>Startwert (leer: von der Uhr):</source>
        <translation>Seed (empty: from the clock):</translation>
    </message>
    <message>
        <source>Der Startwert ist eine ganze Zahl von 0 bis 18446744073709551615.</source>
        <translation>The seed is a whole number from 0 to 18446744073709551615.</translation>
    </message>
    <message>
        <source>Population aus &apos;%1&apos; geladen</source>
        <translation>Population loaded from &apos;%1&apos;</translation>
    </message>
    <message>
        <source>Population in &apos;%1&apos; gespeichert</source>
        <translation>Population saved in &apos;%1&apos;</translation>
    </message>
    <message>
        <source>Neue Population (Startwert %1)</source>
        <translation>New population (seed %1)</translation>
    </message>
    <message>
        <source>Neue Population (Startwert von der Uhr)</source>
        <translation>New population (seed from the clock)</translation>
    </message>
    <message>
        <source>nur .mp4 oder .webm</source>
        <translation>only .mp4 or .webm</translation>
    </message>
    <message>
        <source>Kann Film &apos;%1&apos; nicht aufnehmen: %2</source>
        <translation>Cannot record film &apos;%1&apos;: %2</translation>
    </message>
    <message>
        <source>Film &apos;%1&apos;: %2 Bilder</source>
        <translation>Film &apos;%1&apos;: %2 frames</translation>
    </message>
    <message>
        <source>Lern&amp;weg...</source>
        <translation>Learning &amp;path...</translation>
    </message>
    <message>
        <source>noch ohne Eintrag</source>
        <translation>no entry yet</translation>
    </message>
    <message>
        <source>Kann den Lernweg &apos;%1&apos; nicht laden: %2</source>
        <translation>Cannot load the learning path &apos;%1&apos;: %2</translation>
    </message>
    <message>
        <source>Population in &apos;%1&apos; gespeichert; der Lernweg, der dort lag, liegt jetzt in &apos;%2&apos;</source>
        <translation>Population saved in &apos;%1&apos;; the learning path that was there is now in &apos;%2&apos;</translation>
    </message>
</context>
<context>
    <name>TrainingLabels</name>
    <message>
        <source>Distanz</source>
        <translation>Distance</translation>
    </message>
    <message>
        <source>bestFitness</source>
        <translation>bestFitness</translation>
    </message>
    <message>
        <source>count best used</source>
        <translation>count best used</translation>
    </message>
    <message>
        <source>Pos Ball</source>
        <translation>Pos Ball</translation>
    </message>
    <message>
        <source>avrg Fitness</source>
        <translation>avrg Fitness</translation>
    </message>
    <message>
        <source>best Fitness</source>
        <translation>best Fitness</translation>
    </message>
    <message>
        <source>Generation</source>
        <translation>Generation</translation>
    </message>
    <message>
        <source>Individual</source>
        <translation>Individual</translation>
    </message>
    <message>
        <source>Gen. of best</source>
        <translation>Gen. of best</translation>
    </message>
    <message>
        <source>Direction</source>
        <translation>Direction</translation>
    </message>
</context>
<context>
    <name>zarnik</name>
    <message>
        <source>zarnik: keine grafische Anzeige (DISPLAY, WAYLAND_DISPLAY und QT_QPA_PLATFORM sind nicht gesetzt)</source>
        <translation>zarnik: no graphical display (DISPLAY, WAYLAND_DISPLAY and QT_QPA_PLATFORM are not set)</translation>
    </message>
    <message>
        <source>Zarnik32: ein genetischer Algorithmus lehrt neuronale Netze, einen Roboterarm zu steuern. Ohne Optionen öffnet sich das Fenster.</source>
        <translation>Zarnik32: a genetic algorithm teaches neural networks to steer a robot arm. Without options the window opens.</translation>
    </message>
    <message>
        <source>Die Vorführung als Film nach OUT schreiben (.mp4 oder .webm), Bild für Bild wie der Film des Fensters; ohne grafische Anzeige geht es auch. Ein vorhandenes OUT wird nicht überschrieben.</source>
        <translation>Write the demonstration as a film to OUT (.mp4 or .webm), frame for frame as the window films it; works without a graphical display too. An existing OUT is not overwritten.</translation>
    </message>
    <message>
        <source>Nur die ersten N der 100 Durchgänge vorführen (Vorgabe 100).</source>
        <translation>Demonstrate only the first N of the 100 episodes (default 100).</translation>
    </message>
    <message>
        <source>Unbekanntes Argument: %1</source>
        <translation>Unknown argument: %1</translation>
    </message>
    <message>
        <source>--demonstrate und --film gehen nur zusammen.</source>
        <translation>--demonstrate and --film only go together.</translation>
    </message>
    <message>
        <source>Nur eine Netzdatei und einen Film angeben.</source>
        <translation>Give only one network file and one film.</translation>
    </message>
    <message>
        <source>Der Name der Netzdatei oder des Films ist leer.</source>
        <translation>The name of the network file or of the film is empty.</translation>
    </message>
    <message>
        <source>--episodes braucht eine Zahl von 1 bis %1.</source>
        <translation>--episodes needs a number from 1 to %1.</translation>
    </message>
    <message>
        <source>Das beste Netz der Netzdatei FILE vorführen, wie &quot;Vorführen&quot; es tut, ohne Fenster; braucht --film. FILE.path@GENERATION führt den Eintrag des Lernwegs vor.</source>
        <translation>Demonstrate the best network of the network file FILE as &quot;Demonstrate&quot; does, without a window; needs --film. FILE.path@GENERATION demonstrates that entry of the learning path.</translation>
    </message>
</context>
<context>
    <name>zarnik-train</name>
    <message>
        <source>zarnik-train: Kann Datei &apos;%s&apos; nicht laden: %s
</source>
        <translation>zarnik-train: Cannot load file &apos;%s&apos;: %s
</translation>
    </message>
    <message>
        <source>zarnik-train: Lauf %d: %s
</source>
        <translation>zarnik-train: Run %d: %s
</translation>
    </message>
    <message>
        <source>%sLauf %d: Gen. %d, Fitness %d, Ablagen %d, je Episode %s</source>
        <translation>%sRun %d: gen. %d, fitness %d, deliveries %d, per episode %s</translation>
    </message>
    <message>
        <source> | %s, Rest %s</source>
        <translation> | %s, %s left</translation>
    </message>
    <message>
        <source>zarnik-train: Kann Datei &apos;%s&apos; nicht trainieren: %s
</source>
        <translation>zarnik-train: Cannot train file &apos;%s&apos;: %s
</translation>
    </message>
    <message>
        <source>zarnik-train: Kann Datei &apos;%s&apos; nicht schreiben: %s
</source>
        <translation>zarnik-train: Cannot write file &apos;%s&apos;: %s
</translation>
    </message>
    <message>
        <source>zarnik-train: %d Läufe gleichzeitig ab Startwert %llu, je %d Thread(s)%s
</source>
        <translation>zarnik-train: %d runs side by side from seed %llu, %d thread(s) each%s
</translation>
    </message>
    <message>
        <source>, Neustart ohne Fortschritt</source>
        <translation>, restarted without progress</translation>
    </message>
    <message>
        <source>hat das Ziel schon erreicht</source>
        <translation>has reached the goal already</translation>
    </message>
    <message>
        <source>schon beendet</source>
        <translation>ended already</translation>
    </message>
    <message>
        <source>zarnik-train: Lauf %d lässt sich nicht starten
</source>
        <translation>zarnik-train: Run %d cannot be started
</translation>
    </message>
    <message>
        <source>Startwert %llu, &apos;%s&apos;%s</source>
        <translation>seed %llu, &apos;%s&apos;%s</translation>
    </message>
    <message>
        <source> (neu gestartet)</source>
        <translation> (restarted)</translation>
    </message>
    <message>
        <source>Generation %d, %s Ablagen je Episode in allen 100 Episoden</source>
        <translation>generation %d, %s deliveries per episode over all 100 episodes</translation>
    </message>
    <message>
        <source>: Ziel erreicht</source>
        <translation>: goal reached</translation>
    </message>
    <message>
        <source>: aufgegeben, ein neuer Lauf beginnt</source>
        <translation>: given up, a new run begins</translation>
    </message>
    <message>
        <source>endete mit Status %d</source>
        <translation>ended with status %d</translation>
    </message>
    <message>
        <source>zarnik-train: unterbrochen; derselbe Aufruf setzt jeden Lauf fort
</source>
        <translation>zarnik-train: interrupted; the same command resumes every run
</translation>
    </message>
    <message>
        <source>Kein Gewinner: kein Lauf hat ein Netz geprüft
</source>
        <translation>No winner: no run has checked a network
</translation>
    </message>
    <message>
        <source>zarnik-train: Gewinner &apos;%s&apos; nicht nach &apos;%s&apos; kopiert: Kann Datei &apos;%s&apos; nicht %s: %s
</source>
        <translation>zarnik-train: Winner &apos;%s&apos; not copied to &apos;%s&apos;: file &apos;%s&apos; could not be %s: %s
</translation>
    </message>
    <message>
        <source>lesen</source>
        <translation>read</translation>
    </message>
    <message>
        <source>schreiben</source>
        <translation>written</translation>
    </message>
    <message>
        <source>unvollständig oder fremd</source>
        <translation>incomplete or foreign</translation>
    </message>
    <message>
        <source>; das vorige &apos;%1&apos; liegt jetzt in &apos;%2&apos;</source>
        <translation>; the previous &apos;%1&apos; is now &apos;%2&apos;</translation>
    </message>
    <message>
        <source>; das vorige &apos;%1&apos; liegt jetzt in &apos;%2&apos;, sein Verlauf in &apos;%3&apos;</source>
        <translation>; the previous &apos;%1&apos; is now &apos;%2&apos;, its history &apos;%3&apos;</translation>
    </message>
    <message>
        <source>Gewinner: %s -&gt; %s%s%s
</source>
        <translation>Winner: %s -&gt; %s%s%s
</translation>
    </message>
    <message>
        <source> (Ziel nicht erreicht: das beste Netz bisher)</source>
        <translation> (goal not reached: the best network so far)</translation>
    </message>
    <message>
        <source>Trainiert die Netze von Zarnik32 ohne Fenster.</source>
        <translation>Trains the networks of Zarnik32 without a window.</translation>
    </message>
    <message>
        <source>Trainingsart 1 oder 2 (Vorgabe 2).</source>
        <translation>Training mode 1 or 2 (default 2).</translation>
    </message>
    <message>
        <source>So viele Generationen zu denen der Datei hinzu trainieren (nur ein einzelner Lauf).</source>
        <translation>Train this many generations more than the file holds (a single run only).</translation>
    </message>
    <message>
        <source>Bis die Datei G Generationen hat; mit --runs: bis jeder Platz G Generationen trainiert hat (ein neu gestarteter Lauf zählt in seinem Platz weiter). Derselbe Aufruf setzt fort.</source>
        <translation>Until the file has G generations; with --runs: until every place has trained G generations (a restarted run counts on in its place). The same command resumes.</translation>
    </message>
    <message>
        <source>So viele Minuten trainieren.</source>
        <translation>Train this many minutes.</translation>
    </message>
    <message>
        <source>Mit --runs: Ziel, die Läufe enden, sobald der Beste eines Laufs im Mittel aller 100 Episoden so oft je Episode ablegt (z. B. 3).</source>
        <translation>With --runs: goal; the runs end as soon as a run&apos;s best delivers this often per episode on average over all 100 episodes (e.g. 3).</translation>
    </message>
    <message>
        <source>Mit --runs: Läufe nie neu starten (ohne Neustartregel).</source>
        <translation>With --runs: never restart runs (no restart rule).</translation>
    </message>
    <message>
        <source>Mit --runs: eine Zeile je Ereignis auf stdout, für Programme.</source>
        <translation>With --runs: one line per event on stdout, for programs.</translation>
    </message>
    <message>
        <source>Lauf einer Menge (intern).</source>
        <translation>Run of a set (internal).</translation>
    </message>
    <message>
        <source>Threads für Training 2 (Vorgabe: alle Kerne).</source>
        <translation>Threads for training 2 (default: all cores).</translation>
    </message>
    <message>
        <source>Fester Startwert statt der Uhr.</source>
        <translation>Fixed seed instead of the clock.</translation>
    </message>
    <message>
        <source>Keine Fortschrittsanzeige.</source>
        <translation>No progress display.</translation>
    </message>
    <message>
        <source>Alle K Generationen speichern.</source>
        <translation>Store every K generations.</translation>
    </message>
    <message>
        <source>Fitnessverlauf auch hier anhängen (er steht immer neben der Netzdatei).</source>
        <translation>Append the fitness history here too (it is always kept beside the network file).</translation>
    </message>
    <message>
        <source>Population nur bewerten, nichts speichern.</source>
        <translation>Only score the population, store nothing.</translation>
    </message>
    <message>
        <source>N Läufe gleichzeitig (Lauf k: Startwert S+k, STEM.runs/run-&lt;k&gt;.dat); alle 100 Generationen spielt der Beste jedes Laufs alle 100 Episoden, sein bestes Netz bleibt in STEM.runs/run-&lt;k&gt;-best.dat; ein Lauf ohne Fortschritt wird durch einen neuen ersetzt; das beste Netz kommt nach FILE (ein vorhandenes FILE bleibt als FILE.~n~.dat).</source>
        <translation>N runs side by side (run k: seed S+k, STEM.runs/run-&lt;k&gt;.dat); every 100 generations each run&apos;s best plays all 100 episodes, its best network is kept in STEM.runs/run-&lt;k&gt;-best.dat; a run without progress is replaced by a new one; the best network goes to FILE (an existing FILE is kept as FILE.~n~.dat).</translation>
    </message>
    <message>
        <source>Vorhandene Netzdateien vergleichen: Ablagen des Besten in allen 100 Episoden, dann seine Fitness.</source>
        <translation>Compare existing network files: the best&apos;s deliveries over all 100 episodes, then its fitness.</translation>
    </message>
    <message>
        <source>Nur Lauf K davon: Startwert S+K, STEM.runs/run-&lt;K&gt;.dat (für Job-Arrays).</source>
        <translation>Only run K of them: seed S+K, STEM.runs/run-&lt;K&gt;.dat (for job arrays).</translation>
    </message>
    <message>
        <source>Netzdatei (Vorgabe zarnik.dat); mit --rank mehrere.</source>
        <translation>Network file (default zarnik.dat); several with --rank.</translation>
    </message>
    <message>
        <source>--rank braucht mindestens eine Netzdatei.</source>
        <translation>--rank needs at least one network file.</translation>
    </message>
    <message>
        <source>Nur eine Netzdatei angeben.</source>
        <translation>Give only one network file.</translation>
    </message>
    <message>
        <source>Der Name der Netzdatei ist leer.</source>
        <translation>The name of the network file is empty.</translation>
    </message>
    <message>
        <source>--mode muss 1 oder 2 sein.</source>
        <translation>--mode must be 1 or 2.</translation>
    </message>
    <message>
        <source>--generations braucht eine Zahl ab 0.</source>
        <translation>--generations needs a number from 0.</translation>
    </message>
    <message>
        <source>--until-generation braucht eine Zahl von 0 bis 2147483647.</source>
        <translation>--until-generation needs a number from 0 to 2147483647.</translation>
    </message>
    <message>
        <source>--generations und --until-generation nicht zusammen angeben.</source>
        <translation>Do not give --generations and --until-generation together.</translation>
    </message>
    <message>
        <source>--until-deliveries braucht eine Zahl ab 0.</source>
        <translation>--until-deliveries needs a number from 0.</translation>
    </message>
    <message>
        <source>--minutes braucht eine Zahl ab 0.</source>
        <translation>--minutes needs a number from 0.</translation>
    </message>
    <message>
        <source>--threads braucht eine Zahl von 1 bis 256.</source>
        <translation>--threads needs a number from 1 to 256.</translation>
    </message>
    <message>
        <source>--seed braucht eine Zahl ab 0.</source>
        <translation>--seed needs a number from 0.</translation>
    </message>
    <message>
        <source>--checkpoint braucht eine Zahl ab 1.</source>
        <translation>--checkpoint needs a number from 1.</translation>
    </message>
    <message>
        <source>--log braucht einen Dateinamen.</source>
        <translation>--log needs a file name.</translation>
    </message>
    <message>
        <source>--runs und --run nicht zusammen angeben.</source>
        <translation>Do not give --runs and --run together.</translation>
    </message>
    <message>
        <source>--runs braucht eine Zahl von 1 bis 1000.</source>
        <translation>--runs needs a number from 1 to 1000.</translation>
    </message>
    <message>
        <source>--run braucht eine Zahl ab 0.</source>
        <translation>--run needs a number from 0.</translation>
    </message>
    <message>
        <source>--seed %1: der Startwert %1 + %2 ginge über 18446744073709551615 hinaus.</source>
        <translation>--seed %1: the seed %1 + %2 would go beyond 18446744073709551615.</translation>
    </message>
    <message>
        <source>--runs und --run zählen bis zu einer Generation: --until-generation G statt --generations N.</source>
        <translation>--runs and --run count up to a generation: --until-generation G instead of --generations N.</translation>
    </message>
    <message>
        <source>--runs braucht --until-generation, --minutes oder --until-deliveries.</source>
        <translation>--runs needs --until-generation, --minutes or --until-deliveries.</translation>
    </message>
    <message>
        <source>--run braucht --seed.</source>
        <translation>--run needs --seed.</translation>
    </message>
    <message>
        <source>--runs und --run gehen nur mit Training 2, ohne --evaluate und --log.</source>
        <translation>--runs and --run work only with training 2, without --evaluate and --log.</translation>
    </message>
    <message>
        <source>--until-deliveries geht nur mit --runs oder --run.</source>
        <translation>--until-deliveries works only with --runs or --run.</translation>
    </message>
    <message>
        <source>--no-restart und --progress gehen nur mit --runs.</source>
        <translation>--no-restart and --progress work only with --runs.</translation>
    </message>
    <message>
        <source>--member geht nur mit --run.</source>
        <translation>--member works only with --run.</translation>
    </message>
    <message>
        <source>--until-generation geht nur mit Training 2 (Training 1 zählt keine Generationen).</source>
        <translation>--until-generation works only with training 2 (training 1 counts no generations).</translation>
    </message>
    <message>
        <source>  Rest %s</source>
        <translation>  %s left</translation>
    </message>
    <message>
        <source>  Ablagen des Besten %d</source>
        <translation>  best&apos;s deliveries %d</translation>
    </message>
    <message>
        <source>%sGeneration %d  best Fitness %d%s  avrg Fitness %d  Gen. of best %d  Gen/s %.1f  %s%s%s</source>
        <translation>%sGeneration %d  best Fitness %d%s  avrg Fitness %d  Gen. of best %d  Gen/s %.1f  %s%s%s</translation>
    </message>
    <message>
        <source>zarnik-train: --log &apos;%s&apos; ist die Netzdatei &apos;%s&apos; oder ihre temporäre Datei
</source>
        <translation>zarnik-train: --log &apos;%s&apos; is the network file &apos;%s&apos; or its temporary file
</translation>
    </message>
    <message>
        <source>zarnik-train: Kann Datei &apos;%s&apos; nicht laden: Verzeichnis &apos;%s&apos; fehlt
</source>
        <translation>zarnik-train: Cannot load file &apos;%s&apos;: directory &apos;%s&apos; is missing
</translation>
    </message>
    <message>
        <source>zarnik-train: Kann Datei &apos;%s&apos; nicht schreiben: Verzeichnis &apos;%s&apos; nicht beschreibbar
</source>
        <translation>zarnik-train: Cannot write file &apos;%s&apos;: directory &apos;%s&apos; is not writable
</translation>
    </message>
    <message>
        <source>zarnik-train: Kann Datei &apos;%s&apos; nicht laden: falsche Größe (%zu statt %zu Bytes)
</source>
        <translation>zarnik-train: Cannot load file &apos;%s&apos;: wrong size (%zu instead of %zu bytes)
</translation>
    </message>
    <message>
        <source>zarnik-train: Datei &apos;%s&apos; gehört nach dem Speichern Benutzer %u statt ihrem Eigentümer
</source>
        <translation>zarnik-train: After storing, file &apos;%s&apos; belongs to user %u instead of its owner
</translation>
    </message>
    <message>
        <source>Datenträger voll</source>
        <translation>disk full</translation>
    </message>
    <message>
        <source>Datei zu groß</source>
        <translation>file too large</translation>
    </message>
    <message>
        <source>keine Schreibberechtigung</source>
        <translation>no permission to write</translation>
    </message>
    <message>
        <source>Datenträger schreibgeschützt</source>
        <translation>read-only file system</translation>
    </message>
    <message>
        <source>Verzeichnis fehlt</source>
        <translation>directory missing</translation>
    </message>
    <message>
        <source>keine reguläre Datei</source>
        <translation>not a regular file</translation>
    </message>
    <message>
        <source>kein Fitnessverlauf</source>
        <translation>not a fitness history</translation>
    </message>
    <message>
        <source>zu viele symbolische Verweise</source>
        <translation>too many symbolic links</translation>
    </message>
    <message>
        <source>symbolischer Verweis eines anderen Benutzers</source>
        <translation>another user&apos;s symbolic link</translation>
    </message>
    <message>
        <source>Name zu lang</source>
        <translation>name too long</translation>
    </message>
    <message>
        <source>Ein-/Ausgabefehler</source>
        <translation>input/output error</translation>
    </message>
    <message>
        <source>zu viele offene Dateien</source>
        <translation>too many open files</translation>
    </message>
    <message>
        <source>Schreibfehler</source>
        <translation>write error</translation>
    </message>
    <message>
        <source>Prozess %1 arbeitet schon daran</source>
        <translation>process %1 is working on it already</translation>
    </message>
    <message>
        <source>ein anderes Programm arbeitet schon daran</source>
        <translation>another program is working on it already</translation>
    </message>
    <message>
        <source>zarnik-train: Generation %d: Ablagen je Episode %s (bisher bestes Netz %s)</source>
        <translation>zarnik-train: Generation %d: deliveries per episode %s (best network so far %s)</translation>
    </message>
    <message>
        <source>Startwert %1 statt %2</source>
        <translation>seed %1 instead of %2</translation>
    </message>
    <message>
        <source>%1 Läufe statt %2</source>
        <translation>%1 runs instead of %2</translation>
    </message>
    <message>
        <source>Ziel %1 statt %2</source>
        <translation>goal %1 instead of %2</translation>
    </message>
    <message>
        <source>Neustart %1 statt %2</source>
        <translation>restarts %1 instead of %2</translation>
    </message>
    <message>
        <source>Feld &apos;%1&apos; fehlt</source>
        <translation>field &apos;%1&apos; is missing</translation>
    </message>
    <message>
        <source>Feld &apos;%1&apos; ist keine ganze Zahl von %2 bis %3</source>
        <translation>field &apos;%1&apos; is not a whole number from %2 to %3</translation>
    </message>
    <message>
        <source>Feld &apos;%1&apos; ist keine Liste</source>
        <translation>field &apos;%1&apos; is not a list</translation>
    </message>
    <message>
        <source>Feld &apos;%1&apos; ist keine Liste mit %2 Einträgen</source>
        <translation>field &apos;%1&apos; is not a list of %2 entries</translation>
    </message>
    <message>
        <source>Feld &apos;layers&apos; braucht 3 bis 1000 Einträge</source>
        <translation>field &apos;layers&apos; needs 3 to 1000 entries</translation>
    </message>
    <message>
        <source>Feld &apos;layers&apos; hat mehr als 65535 Knoten</source>
        <translation>field &apos;layers&apos; has more than 65535 nodes</translation>
    </message>
    <message>
        <source>kein Netz von Zarnik32 (Feld &apos;format&apos; ist nicht &apos;%1&apos;)</source>
        <translation>not a Zarnik32 network (field &apos;format&apos; is not &apos;%1&apos;)</translation>
    </message>
    <message>
        <source>Version %1 unbekannt (gelesen wird Version %2)</source>
        <translation>version %1 unknown (version %2 is read)</translation>
    </message>
    <message>
        <source>Feld &apos;%1&apos; gibt es in Version %2 nicht</source>
        <translation>field &apos;%1&apos; does not exist in version %2</translation>
    </message>
    <message>
        <source>Feld &apos;%1&apos; ist kein Text</source>
        <translation>field &apos;%1&apos; is not a text</translation>
    </message>
    <message>
        <source>Feld &apos;inputs&apos; beschreibt nicht die Eingänge von Zarnik32</source>
        <translation>field &apos;inputs&apos; does not describe the inputs of Zarnik32</translation>
    </message>
    <message>
        <source>Feld &apos;outputs&apos; beschreibt nicht die Ausgänge von Zarnik32</source>
        <translation>field &apos;outputs&apos; does not describe the outputs of Zarnik32</translation>
    </message>
    <message>
        <source>kein gültiges JSON (Fehler bei Byte %1)</source>
        <translation>not valid JSON (error at byte %1)</translation>
    </message>
    <message>
        <source>kein JSON-Objekt</source>
        <translation>not a JSON object</translation>
    </message>
    <message>
        <source>größer als 1 MiB</source>
        <translation>larger than 1 MiB</translation>
    </message>
    <message>
        <source>zarnik-train: Kann das beste Netz aus &apos;%s&apos; nicht ausgeben: es hat Verbindungen, die eine Schicht überspringen oder zurückführen
</source>
        <translation>zarnik-train: Cannot export the best network of &apos;%s&apos;: it has links that skip a layer or lead back
</translation>
    </message>
    <message>
        <source>Das beste Netz der Netzdatei als JSON nach FILE.json schreiben (Schichten, Gewichte, Grenzen, Bedeutung der Ein- und Ausgänge); tools/zarnik_network.py rechnet damit.</source>
        <translation>Write the best network of the network file to FILE.json as JSON (layers, weights, limits, meaning of the inputs and outputs); tools/zarnik_network.py computes with it.</translation>
    </message>
    <message>
        <source>Aus FILE.json eine neue Netzdatei machen: alle 100 Netze und das beste sind dieses Netz.</source>
        <translation>Make a new network file from FILE.json: all 100 networks and the best are that network.</translation>
    </message>
    <message>
        <source>--export und --import gehen nur ohne weitere Optionen.</source>
        <translation>--export and --import work only without other options.</translation>
    </message>
    <message>
        <source>--export und --import nicht zusammen angeben.</source>
        <translation>Do not give --export and --import together.</translation>
    </message>
    <message>
        <source>Nur eine JSON-Datei und eine Netzdatei angeben.</source>
        <translation>Give only one JSON file and one network file.</translation>
    </message>
    <message>
        <source>Der Name der Netzdatei oder der JSON-Datei ist leer.</source>
        <translation>The name of the network file or of the JSON file is empty.</translation>
    </message>
    <message>
        <source>gibt es schon, wird nicht überschrieben</source>
        <translation>exists already, not overwritten</translation>
    </message>
    <message>
        <source>zarnik-train: In &apos;%1&apos; liegt ein anderer Satz von Läufen (%2); derselbe Aufruf setzt ihn fort, für einen neuen &apos;%1&apos; umbenennen</source>
        <translation>zarnik-train: &apos;%1&apos; holds another set of runs (%2); the same call continues it, for a new one rename &apos;%1&apos;</translation>
    </message>
    <message>
        <source>Rang</source>
        <translation>Rank</translation>
    </message>
    <message>
        <source>Datei</source>
        <translation>File</translation>
    </message>
    <message>
        <source>Generationen</source>
        <translation>Generations</translation>
    </message>
    <message>
        <source>Ablagen/Episode</source>
        <translation>Deliveries/episode</translation>
    </message>
    <message>
        <source>Ablagen</source>
        <translation>Deliveries</translation>
    </message>
    <message>
        <source>Aufnahmen</source>
        <translation>Takes</translation>
    </message>
    <message>
        <source>Fitness</source>
        <translation>Fitness</translation>
    </message>
    <message>
        <source>(der Beste jeder Datei in allen %d Episoden, erste Podesthöhen je 1 bis %d: Ablagen und Aufnahmen als Summe, Fitness als Mittel)
</source>
        <translation>(each file&apos;s best in all %d episodes, first platform heights 1 to %d each: deliveries and takes as sums, fitness as mean)
</translation>
    </message>
    <message>
        <source>Ohne --seed zieht Training 2 seine Episoden von der Uhr: die Werte wechseln von Aufruf zu Aufruf; mit --seed S wiederholen sie sich.</source>
        <translation>Without --seed, training 2 draws its episodes from the clock: the figures change from call to call; with --seed S they repeat.</translation>
    </message>
    <message>
        <source>Strategie %1 statt %2</source>
        <translation>strategy %1 instead of %2</translation>
    </message>
    <message>
        <source> (neu gestartet mit Lauf %d aus Generation %d)</source>
        <translation> (restarted from run %d at generation %d)</translation>
    </message>
    <message>
        <source>--strategy braucht exploit oder restart.</source>
        <translation>--strategy needs exploit or restart.</translation>
    </message>
    <message>
        <source>--strategy geht nur mit --runs.</source>
        <translation>--strategy works only with --runs.</translation>
    </message>
    <message>
        <source>Mit --runs: wie ein Lauf ohne Fortschritt ersetzt wird: restart (Vorgabe) beginnt neu, exploit setzt seinen Platz mit einer Kopie des besten Laufs unter neuem Startwert fort.</source>
        <translation>With --runs: how a run without progress is replaced: restart (default) begins anew, exploit continues its place from a copy of the best run under a new seed.</translation>
    </message>
    <message>
        <source>Alle Läufe: Ablagen je Episode in allen 100 Episoden</source>
        <translation>All runs: deliveries per episode over all 100 episodes</translation>
    </message>
    <message>
        <source>Generationen des Platzes</source>
        <translation>generations of the place</translation>
    </message>
    <message>
        <source>Ablagen je Episode</source>
        <translation>deliveries per episode</translation>
    </message>
    <message>
        <source>Lauf %1</source>
        <translation>run %1</translation>
    </message>
    <message>
        <source>Ziel %1</source>
        <translation>goal %1</translation>
    </message>
    <message>
        <source>Median</source>
        <translation>median</translation>
    </message>
    <message>
        <source>mittlere Hälfte</source>
        <translation>middle half</translation>
    </message>
    <message>
        <source>Neustart</source>
        <translation>restart</translation>
    </message>
    <message>
        <source>Kopie eines Besten</source>
        <translation>copy of a best</translation>
    </message>
    <message>
        <source>Mit --runs: am Ende das Bild aller Läufe (geprüfte Ablagen je Episode über die Generationen, Neustarts, Ziel, Median) als PNG oder SVG schreiben.</source>
        <translation>With --runs: at the end, write the picture of all runs (validated deliveries per episode over the generations, restarts, goal, median) as PNG or SVG.</translation>
    </message>
    <message>
        <source>--plot geht nur mit --runs.</source>
        <translation>--plot works only with --runs.</translation>
    </message>
    <message>
        <source>--plot braucht einen Dateinamen auf .png oder .svg.</source>
        <translation>--plot needs a file name ending in .png or .svg.</translation>
    </message>
    <message>
        <source>nie gestartet</source>
        <translation>never started</translation>
    </message>
    <message>
        <source>abgebrochen</source>
        <translation>broken off</translation>
    </message>
    <message>
        <source>Ziel erreicht</source>
        <translation>goal reached</translation>
    </message>
    <message>
        <source>nach dem Ziel</source>
        <translation>after the goal</translation>
    </message>
    <message>
        <source>Generationen erreicht</source>
        <translation>generations reached</translation>
    </message>
    <message>
        <source>angehalten</source>
        <translation>stopped</translation>
    </message>
    <message>
        <source>fehlgeschlagen</source>
        <translation>failed</translation>
    </message>
    <message>
        <source>Platz</source>
        <translation>Place</translation>
    </message>
    <message>
        <source>Mittel</source>
        <translation>Mean</translation>
    </message>
    <message>
        <source>CPU-Sekunden</source>
        <translation>CPU seconds</translation>
    </message>
    <message>
        <source>Starts</source>
        <translation>Starts</translation>
    </message>
    <message>
        <source>Ende; Startwerte</source>
        <translation>End; seeds</translation>
    </message>
    <message>
        <source>CPU-Zeit aller Plätze: %.1f s
</source>
        <translation>CPU time of all places: %.1f s
</translation>
    </message>
    <message>
        <source>zarnik-train: &apos;%s&apos; ist beschädigt oder gehört zu einem anderen Satz; nicht beachtet
</source>
        <translation>zarnik-train: &apos;%s&apos; is damaged or belongs to another set; ignored
</translation>
    </message>
    <message>
        <source>Gewinner: %s (Platz %d, Startwert %llu)%s</source>
        <translation>Winner: %s (place %d, seed %llu)%s</translation>
    </message>
    <message>
        <source>zarnik-train: Platz %d setzt bei Generation %lld fort (Start %d)
</source>
        <translation>zarnik-train: place %d goes on at generation %lld (start %d)
</translation>
    </message>
    <message>
        <source>Mit --runs N: nur Platz K des Satzes (0 bis N-1), als Aufgabe eines Job-Arrays; die Plätze sehen einander nur über die Dateien in FILE.runs/, die Regel und das Ziel sind die von --runs.</source>
        <translation>With --runs N: only place K of the set (0 to N-1), as a task of a job array; the places see each other only through the files in FILE.runs/, the rule and the goal are those of --runs.</translation>
    </message>
    <message>
        <source>Mit --runs N: einen Satz aus Plätzen (--place) abschließen: Rangliste, Gewinner nach FILE, Zusammenfassung in FILE.runs/summary.txt.</source>
        <translation>With --runs N: finish a set of places (--place): ranking, the winner to FILE, a summary in FILE.runs/summary.txt.</translation>
    </message>
    <message>
        <source>--place braucht --runs N und eine Zahl von 0 bis N-1.</source>
        <translation>--place needs --runs N and a number from 0 to N-1.</translation>
    </message>
    <message>
        <source>--place braucht --seed: alle Plätze eines Satzes denselben.</source>
        <translation>--place needs --seed: the same for all places of a set.</translation>
    </message>
    <message>
        <source>--place geht nur mit der Strategie restart und ohne --collect.</source>
        <translation>--place works only with the strategy restart and without --collect.</translation>
    </message>
    <message>
        <source>--collect braucht --runs N.</source>
        <translation>--collect needs --runs N.</translation>
    </message>
    <message>
        <source>zarnik-train: &apos;%s&apos; passt nicht zum besten Netz seines Laufs; nicht beachtet
</source>
        <translation>zarnik-train: &apos;%s&apos; does not match the best network of its run; ignored
</translation>
    </message>
    <message>
        <source>--plot geht nicht mit --place oder --collect.</source>
        <translation>--plot does not work with --place or --collect.</translation>
    </message>
    <message>
        <source>Generation</source>
        <translation>Generation</translation>
    </message>
    <message>
        <source>Aufnahmen/Episode</source>
        <translation>Takes/episode</translation>
    </message>
    <message>
        <source>(die bisher besten Netze des Laufs, je gemessen in allen %d Episoden; Fitness als Mittel; eines spielt wieder mit --rank DATEI@GENERATION)
</source>
        <translation>(the run&apos;s best networks so far, each measured in all %d episodes; fitness as the mean; one plays again with --rank FILE@GENERATION)
</translation>
    </message>
    <message>
        <source>Generation %1 fehlt, der Lernweg ist leer</source>
        <translation>generation %1 is missing, the learning path is empty</translation>
    </message>
    <message>
        <source>Generation %1 fehlt im Lernweg; die nächsten: %2</source>
        <translation>generation %1 is not in the learning path; the nearest: %2</translation>
    </message>
    <message>
        <source>Den Lernweg FILE.path auflisten: die bisher besten Netze eines Laufs (je Prüfung, bei der der Beste in allen 100 Episoden mehr ablegte). --rank und --evaluate nehmen einen Eintrag als FILE.path@GENERATION.</source>
        <translation>List the learning path FILE.path: the best networks of a run so far (one per check at which the best delivered more in all 100 episodes). --rank and --evaluate take an entry as FILE.path@GENERATION.</translation>
    </message>
    <message>
        <source>--path nimmt genau eine Datei und keine weiteren Optionen.</source>
        <translation>--path takes exactly one file and no other options.</translation>
    </message>
    <message>
        <source>Der Name des Lernwegs ist leer.</source>
        <translation>The name of the learning path is empty.</translation>
    </message>
    <message>
        <source>Der Lernweg &apos;%s&apos; gehört zu keinem Netz in &apos;%s&apos;; er liegt jetzt in &apos;%s&apos;
</source>
        <translation>The learning path &apos;%s&apos; belongs to no network in &apos;%s&apos;; it is now in &apos;%s&apos;
</translation>
    </message>
    <message>
        <source>Höhen</source>
        <translation>Heights</translation>
    </message>
    <message>
        <source>Aufnahmen A</source>
        <translation>Takes A</translation>
    </message>
    <message>
        <source>Ablagen A</source>
        <translation>Deliveries A</translation>
    </message>
    <message>
        <source>Aufnahmen B</source>
        <translation>Takes B</translation>
    </message>
    <message>
        <source>Ablagen B</source>
        <translation>Deliveries B</translation>
    </message>
    <message>
        <source>Summe</source>
        <translation>Total</translation>
    </message>
    <message>
        <source>(beide Netze in denselben %d Episoden, erste Podesthöhen h1,h2 je 1 bis %d; * A und B verschieden, in %d von %d Episoden)
</source>
        <translation>(both networks in the same %d episodes, first platform heights h1,h2 each 1 to %d; * A and B differ, in %d of %d episodes)
</translation>
    </message>
    <message>
        <source>Zwei Einträge von Lernwegen (FILE.path@GENERATION) vergleichen: Aufnahmen und Ablagen beider Netze in jeder der 100 Episoden, verschiedene markiert, und die Summen.</source>
        <translation>Compare two entries of learning paths (FILE.path@GENERATION): the takes and deliveries of both networks in each of the 100 episodes, differences marked, and the sums.</translation>
    </message>
    <message>
        <source>--compare nimmt genau zwei Einträge FILE.path@GENERATION und keine weiteren Optionen.</source>
        <translation>--compare takes exactly two entries FILE.path@GENERATION and no other options.</translation>
    </message>
</context>
</TS>
