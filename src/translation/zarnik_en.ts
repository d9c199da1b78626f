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
        <translation>&amp;Goal: deliveries per episode (mean over all 100):</translation>
    </message>
    <message>
        <source>Start&amp;wert des ersten Laufs:</source>
        <translation>&amp;Seed of the first run:</translation>
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
        <translation>&amp;Resume</translation>
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
</TS>
