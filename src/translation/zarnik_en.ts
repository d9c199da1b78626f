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
