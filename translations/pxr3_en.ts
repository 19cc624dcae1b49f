<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_GB" sourcelanguage="cs_CZ">
<context>
    <name>AcquisitionTick</name>
    <message>
        <source>Z analyzátoru nepřišla %1 s žádná data – zkontrolujte spojení.</source>
        <translation>No data from the analyser for %1 s – check the connection.</translation>
    </message>
</context>
<context>
    <name>CommandLine</name>
    <message>
        <source>Ovládání a vyhodnocení mnohokanálového analyzátoru PXR3</source>
        <translation>Control and evaluation of the PXR3 multichannel analyser</translation>
    </message>
    <message>
        <source>Složka pro nastavení, protokoly a měření (místo složky programu).</source>
        <translation>Folder for the settings, logs and measurements (instead of the program folder).</translation>
    </message>
    <message>
        <source>Místo analyzátoru použije jeho simulaci (bez přístroje).</source>
        <translation>Uses a simulated analyser instead of a real one (no instrument needed).</translation>
    </message>
    <message>
        <source>Analyzátor připojený přes sériový port, např. /dev/ttyUSB0 (místo USB).</source>
        <translation>An analyser reached through a serial port, e.g. /dev/ttyUSB0 (instead of USB).</translation>
    </message>
    <message>
        <source>Vypisuje každý rámec z analyzátoru a do něj šestnáctkově na chybový výstup.</source>
        <translation>Prints every frame from and to the analyser in hexadecimal on standard error.</translation>
    </message>
    <message>
        <source>Jazyk oken: cs (čeština) nebo en (angličtina); bez volby podle národního prostředí.</source>
        <translation>Language of the windows: cs (Czech) or en (English); without it, the locale decides.</translation>
    </message>
    <message>
        <source>Bez oken: spustí sérii měření, každý dokončený cyklus vypíše na standardní výstup.</source>
        <translation>Without windows: runs a measurement series and prints every completed cycle on standard output.</translation>
    </message>
    <message>
        <source>Počet cyklů série bez oken (0: do ukončení); jinak podle sady.</source>
        <translation>Number of cycles of the series without windows (0: until stopped); else the set&apos;s.</translation>
    </message>
    <message>
        <source>Doba cyklu série bez oken v sekundách; jinak podle sady.</source>
        <translation>Cycle time of the series without windows in seconds; else the set&apos;s.</translation>
    </message>
    <message>
        <source>Série bez oken zapisuje rámce do DATA_LOG.TXT.</source>
        <translation>The series without windows writes the frames into DATA_LOG.TXT.</translation>
    </message>
    <message>
        <source>Zveřejňuje každý dokončený cyklus na brokeru MQTT, např. mqtt://192.168.1.10:1883 nebo mqtts://broker.example (TLS).</source>
        <translation>Publishes every completed cycle to an MQTT broker, e.g. mqtt://192.168.1.10:1883 or mqtts://broker.example (TLS).</translation>
    </message>
    <message>
        <source>Uživatel u brokeru MQTT.</source>
        <translation>User name at the MQTT broker.</translation>
    </message>
    <message>
        <source>Soubor, jehož první řádek je heslo k brokeru MQTT.</source>
        <translation>File whose first line is the password at the MQTT broker.</translation>
    </message>
    <message>
        <source>Certifikát autority, která ručí za broker (zapne TLS); jinak certifikáty systému.</source>
        <translation>Certificate of the authority that vouches for the broker (turns TLS on); else the system&apos;s certificates.</translation>
    </message>
    <message>
        <source>Jméno stanice v tématech MQTT; jinak jméno počítače.</source>
        <translation>Name of the station in the MQTT topics; else the host name.</translation>
    </message>
    <message>
        <source>Zobrazí tuto nápovědu.</source>
        <translation>Shows this help.</translation>
    </message>
    <message>
        <source>Zobrazí verzi programu.</source>
        <translation>Shows the program&apos;s version.</translation>
    </message>
    <message>
        <source>Neznámý argument: %1</source>
        <translation>Unknown argument: %1</translation>
    </message>
    <message>
        <source>Neznámý jazyk „%1“: volba --lang přijímá cs nebo en.</source>
        <translation>Unknown language “%1”: --lang takes cs or en.</translation>
    </message>
    <message>
        <source>Volby --simulate a --port nelze použít současně.</source>
        <translation>The options --simulate and --port cannot be used together.</translation>
    </message>
    <message>
        <source>Volba --%1 přijímá celé číslo od %2 do %3.</source>
        <translation>The option --%1 takes a whole number from %2 to %3.</translation>
    </message>
    <message>
        <source>Volby --cycles, --time a --log-data platí jen s --headless.</source>
        <translation>The options --cycles, --time and --log-data apply only with --headless.</translation>
    </message>
    <message>
        <source>Volby --mqtt-user, --mqtt-password-file, --mqtt-ca a --station platí jen s --mqtt.</source>
        <translation>The options --mqtt-user, --mqtt-password-file, --mqtt-ca and --station apply only with --mqtt.</translation>
    </message>
</context>
<context>
    <name>LinkHooks</name>
    <message>
        <source>Spojení je zaneprázdněno, příkaz odmítnut.</source>
        <translation>The link is busy, command refused.</translation>
    </message>
</context>
<context>
    <name>MainStartup</name>
    <message>
        <source>PXD3 připojena.</source>
        <translation>PXD3 connected.</translation>
    </message>
</context>
<context>
    <name>MeasuringConditions</name>
    <message>
        <source>SIMULACE</source>
        <translation>SIMULATION</translation>
    </message>
    <message>
        <source>Radionuklid: %1</source>
        <translation>Radionuclide: %1</translation>
    </message>
    <message>
        <source>nevybrán</source>
        <translation>none selected</translation>
    </message>
    <message>
        <source>KF: </source>
        <translation>CF: </translation>
    </message>
    <message>
        <source>pozadí: %1 1/s</source>
        <translation>background: %1 1/s</translation>
    </message>
</context>
<context>
    <name>MessageBoxes</name>
    <message>
        <source>&amp;Ano</source>
        <translation>&amp;Yes</translation>
    </message>
    <message>
        <source>&amp;Ne</source>
        <translation>&amp;No</translation>
    </message>
</context>
<context>
    <name>MqttOptions</name>
    <message>
        <source>Adresa brokeru „%1“ nemá tvar mqtt://POČÍTAČ[:PORT] ani mqtts://POČÍTAČ[:PORT].</source>
        <translation>The broker address “%1” is neither mqtt://HOST[:PORT] nor mqtts://HOST[:PORT].</translation>
    </message>
    <message>
        <source>Adresa brokeru „%1“ nemá nést cestu: témata si program volí sám.</source>
        <translation>The broker address “%1” must not carry a path: the program chooses its topics itself.</translation>
    </message>
    <message>
        <source>Uživatele brokeru udává --mqtt-user a heslo soubor z --mqtt-password-file, ne adresa.</source>
        <translation>The broker&apos;s user is given by --mqtt-user and the password by the file of --mqtt-password-file, not by the address.</translation>
    </message>
    <message>
        <source>Adresa brokeru „%1“ má neplatný port.</source>
        <translation>The broker address “%1” has an invalid port.</translation>
    </message>
    <message>
        <source>Soubor s heslem %1 nelze přečíst: %2</source>
        <translation>The password file %1 cannot be read: %2</translation>
    </message>
</context>
<context>
    <name>MqttPublisher</name>
    <message>
        <source>MQTT: připojeno</source>
        <translation>MQTT: connected</translation>
    </message>
    <message>
        <source>MQTT: připojuji…</source>
        <translation>MQTT: connecting…</translation>
    </message>
    <message>
        <source>MQTT: nedostupný</source>
        <translation>MQTT: unreachable</translation>
    </message>
    <message>
        <source>MQTT: odpojeno</source>
        <translation>MQTT: disconnected</translation>
    </message>
    <message>
        <source>, ve frontě %1</source>
        <translation>, %1 queued</translation>
    </message>
</context>
<context>
    <name>NuclideEditing</name>
    <message>
        <source>Čas měření [s]</source>
        <translation>Measuring time [s]</translation>
    </message>
    <message>
        <source>Počet opakování</source>
        <translation>Repetitions</translation>
    </message>
    <message>
        <source>Levá ROI</source>
        <translation>Left ROI</translation>
    </message>
    <message>
        <source>Pravá ROI</source>
        <translation>Right ROI</translation>
    </message>
    <message>
        <source>Hodnota „%1“ v poli „%2“ je příliš velká.</source>
        <translation>The value “%1” in the field “%2” is too large.</translation>
    </message>
    <message>
        <source>Vysoké napětí musí být v rozsahu 0 až %1 V.</source>
        <translation>The high voltage must lie between 0 and %1 V.</translation>
    </message>
    <message>
        <source>Tabulka radionuklidů je plná (nejvýše %1 záznamů). Vyberte existující záznam nebo některý odeberte.</source>
        <translation>The radionuclide table is full (at most %1 records). Choose an existing record or remove one.</translation>
    </message>
    <message>
        <source>Název radionuklidu nelze uložit: </source>
        <translation>The radionuclide name cannot be stored: </translation>
    </message>
    <message>
        <source>Pozor, není zadán název radionuklidu.</source>
        <translation>Attention: no radionuclide name has been entered.</translation>
    </message>
    <message>
        <source>Data byla uložena do CFG souborů.</source>
        <translation>The data have been saved to the CFG files.</translation>
    </message>
    <message>
        <source>Dotaz</source>
        <translation>Question</translation>
    </message>
    <message>
        <source>Chcete odstranit nastavení pro </source>
        <translation>Do you want to remove the settings for </translation>
    </message>
    <message>
        <source> ?</source>
        <translation>?</translation>
    </message>
    <message>
        <source>Záznam byl odstraněn z CFG souboru.</source>
        <translation>The record has been removed from the CFG file.</translation>
    </message>
</context>
<context>
    <name>ProgramFolder</name>
    <message>
        <source>Soubory programu jsou ve složce %2, do složky %1 nelze zapisovat</source>
        <translation>The program files are in the folder %2; the folder %1 is not writable</translation>
    </message>
    <message>
        <source>Soubor %1 nelze zkopírovat: %2</source>
        <translation>The file %1 cannot be copied: %2</translation>
    </message>
    <message>
        <source>Nastavení bylo převzato z původní složky (%1).</source>
        <translation>The settings were taken over from the original folder (%1).</translation>
    </message>
</context>
<context>
    <name>ProgramPrinter</name>
    <message>
        <source>Nastavení tisku</source>
        <translation>Printer Setup</translation>
    </message>
</context>
<context>
    <name>SettingsFiles</name>
    <message>
        <source>Krytická chyba</source>
        <translation>Critical error</translation>
    </message>
    <message>
        <source>Chyba v souboru PARAMETRY.CFG !</source>
        <translation>Error in the file PARAMETRY.CFG!</translation>
    </message>
    <message>
        <source>Řádek %1 souboru PXR3.KAL neobsahuje celé číslo: &quot;%2&quot;</source>
        <translation>Line %1 of the file PXR3.KAL does not hold a whole number: &quot;%2&quot;</translation>
    </message>
    <message>
        <source>Soubor PXR3.KAL obsahuje více než %1 radionuklidů, načteno prvních %1</source>
        <translation>The file PXR3.KAL holds more than %1 radionuclides; the first %1 were read</translation>
    </message>
    <message>
        <source>Soubor PXR3.KAL končí uprostřed záznamu radionuklidu č. %1</source>
        <translation>The file PXR3.KAL ends in the middle of radionuclide record no. %1</translation>
    </message>
</context>
<context>
    <name>SpectrumExport</name>
    <message>
        <source>Spektrum ANSI N42.42 (*.n42)</source>
        <translation>ANSI N42.42 spectrum (*.n42)</translation>
    </message>
    <message>
        <source>Spektrum IAEA/ORTEC SPE (*.spe)</source>
        <translation>IAEA/ORTEC SPE spectrum (*.spe)</translation>
    </message>
    <message>
        <source>Tabulka CSV (*.csv)</source>
        <translation>CSV table (*.csv)</translation>
    </message>
    <message>
        <source>Uložit spektrum jako</source>
        <translation>Save spectrum as</translation>
    </message>
    <message>
        <source>Uložení spektra</source>
        <translation>Saving the spectrum</translation>
    </message>
    <message>
        <source>Spektrum se nepodařilo uložit do souboru %1.
%2</source>
        <translation>The spectrum could not be saved to the file %1.
%2</translation>
    </message>
</context>
<context>
    <name>SpectrumGraph</name>
    <message>
        <source>Spektrum PXR3 : ROI = </source>
        <translation>PXR3 spectrum: ROI = </translation>
    </message>
    <message>
        <source> Čas : </source>
        <translation>  Time: </translation>
    </message>
</context>
<context>
    <name>SpreadsheetExport</name>
    <message>
        <source>Tabulku se nepodařilo uložit do souboru %1.
%2</source>
        <translation>The table could not be saved to the file %1.
%2</translation>
    </message>
    <message>
        <source>Tabulka neobsahuje žádná data.</source>
        <translation>The table holds no data.</translation>
    </message>
    <message>
        <source>Tabulka je uložena do souboru %1.
Program pro tabulky se nepodařilo spustit, otevřete soubor ručně.</source>
        <translation>The table has been saved to the file %1.
No spreadsheet program could be started; open the file yourself.</translation>
    </message>
</context>
<context>
    <name>TableCommands</name>
    <message>
        <source>Data (*.dat);;Všechny soubory (*.*)</source>
        <translation>Data (*.dat);;All files (*.*)</translation>
    </message>
    <message>
        <source>Upozornění</source>
        <translation>Warning</translation>
    </message>
    <message>
        <source>Pozor, data nejsou uložena. Chcete je zrušit ?</source>
        <translation>Attention: the data are not saved. Do you want to discard them?</translation>
    </message>
    <message>
        <source>Pozor ...</source>
        <translation>Attention ...</translation>
    </message>
    <message>
        <source>Soubor s tímto jménem již existuje. Chcete jej přepsat ?</source>
        <translation>A file of this name already exists. Do you want to overwrite it?</translation>
    </message>
    <message>
        <source>Soubor se nepodařilo uložit: </source>
        <translation>The file could not be saved: </translation>
    </message>
    <message>
        <source>Soubor se nepodařilo načíst: </source>
        <translation>The file could not be loaded: </translation>
    </message>
</context>
<context>
    <name>TableFileDialogs</name>
    <message>
        <source>Uložení dat</source>
        <translation>Save Data</translation>
    </message>
    <message>
        <source>Načtení dat</source>
        <translation>Load Data</translation>
    </message>
</context>
<context>
    <name>TablePrinting</name>
    <message>
        <source>Tisk...</source>
        <translation>Print...</translation>
    </message>
    <message>
        <source>Tisk do PDF</source>
        <translation>Print to PDF</translation>
    </message>
    <message>
        <source>Není k dispozici žádná tiskárna, data nebyla vytištěna.
Tabulku lze vytisknout do souboru: Data → Tisk do PDF...</source>
        <translation>No printer is available; the data have not been printed.
The table can be printed to a file: Data → Print to PDF...</translation>
    </message>
    <message>
        <source>Data jsou vytištěna !</source>
        <translation>The data have been printed.</translation>
    </message>
    <message>
        <source>Tisk se nezdařil: tiskárna %1 data nepřijala.</source>
        <translation>Printing failed: the printer %1 did not accept the data.</translation>
    </message>
    <message>
        <source>Náhled tisku</source>
        <translation>Print Preview</translation>
    </message>
    <message>
        <source>Tisk se nezdařil.</source>
        <translation>Printing failed.</translation>
    </message>
    <message>
        <source>Dokument PDF (*.pdf)</source>
        <translation>PDF document (*.pdf)</translation>
    </message>
    <message>
        <source>Data jsou uložena do souboru %1.</source>
        <translation>The data have been saved to the file %1.</translation>
    </message>
    <message>
        <source>Soubor %1 se nepodařilo zapsat.</source>
        <translation>The file %1 could not be written.</translation>
    </message>
</context>
<context>
    <name>TablePrintout</name>
    <message>
        <source>Data z měření</source>
        <translation>Measurement data</translation>
    </message>
</context>
<context>
    <name>WorkCommands</name>
    <message>
        <source>Tato funkce není v této verzi k dispozici</source>
        <translation>This function is not available in this version</translation>
    </message>
</context>
<context>
    <name>pxr3::Form1</name>
    <message>
        <source>Přejete si ukončit program  PXR3-USB ?</source>
        <translation>Do you want to quit PXR3-USB?</translation>
    </message>
    <message>
        <source>

Pozor: tabulka obsahuje neuložená data.</source>
        <translation>

Attention: the table holds unsaved data.</translation>
    </message>
    <message>
        <source>
Automatické uložení selhalo (%1): výsledky měření nejsou uloženy v žádném souboru.</source>
        <translation>
The automatic save failed (%1): the measurement results are not saved in any file.</translation>
    </message>
    <message>
        <source>
Výsledky měření jsou zachovány v souboru
</source>
        <translation>
The measurement results are kept in the file
</translation>
    </message>
    <message>
        <source>&amp;Ano</source>
        <translation>&amp;Yes</translation>
    </message>
    <message>
        <source>&amp;Ne</source>
        <translation>&amp;No</translation>
    </message>
    <message>
        <source>Otázka</source>
        <translation>Question</translation>
    </message>
</context>
<context>
    <name>pxr3::Form2</name>
    <message>
        <source>Čas měření [s] :</source>
        <translation>Measuring time [s]:</translation>
    </message>
    <message>
        <source>Počet opakování :</source>
        <translation>Repetitions:</translation>
    </message>
    <message>
        <source>Radionuklid :</source>
        <translation>Radionuclide:</translation>
    </message>
    <message>
        <source>Levá ROI :</source>
        <translation>Left ROI:</translation>
    </message>
    <message>
        <source>Pravá ROI :</source>
        <translation>Right ROI:</translation>
    </message>
    <message>
        <source>VN :</source>
        <translation>HV:</translation>
    </message>
    <message>
        <source>KF :</source>
        <translation>CF:</translation>
    </message>
    <message>
        <source>Pozadí :</source>
        <translation>Background:</translation>
    </message>
    <message>
        <source>N&amp;astavit</source>
        <translation>&amp;Apply</translation>
    </message>
    <message>
        <source>&amp;Nový</source>
        <translation>&amp;New</translation>
    </message>
    <message>
        <source>&amp;Uložit</source>
        <translation>&amp;Save</translation>
    </message>
    <message>
        <source>&amp;Odebrat</source>
        <translation>&amp;Remove</translation>
    </message>
    <message>
        <source>&amp;Zavřít</source>
        <translation>&amp;Close</translation>
    </message>
    <message>
        <source>Parametry měření</source>
        <translation>Measurement Parameters</translation>
    </message>
    <message>
        <source>nuklid</source>
        <translation>nuclide</translation>
    </message>
    <message>
        <source>Název radionuklidu</source>
        <translation>Radionuclide name</translation>
    </message>
</context>
<context>
    <name>pxr3::MDIForm1</name>
    <message>
        <source>Radionuklid :</source>
        <translation>Radionuclide:</translation>
    </message>
    <message>
        <source>Čas měření :</source>
        <translation>Meas. time:</translation>
    </message>
    <message>
        <source>[s]     Počet opakování :</source>
        <translation>[s]     Repetitions:</translation>
    </message>
    <message>
        <source>Vysoké napětí :</source>
        <translation>High voltage:</translation>
    </message>
    <message>
        <source>Pozadí [1/s] :</source>
        <translation>Background [1/s]:</translation>
    </message>
    <message>
        <source>Počet řádků :</source>
        <translation>Rows shown:</translation>
    </message>
    <message>
        <source>rolování </source>
        <translation>scrolling </translation>
    </message>
    <message>
        <source>Analyzátor dodává data</source>
        <translation>The analyser delivers data</translation>
    </message>
    <message>
        <source>Analyzátor nedodává data</source>
        <translation>The analyser delivers no data</translation>
    </message>
    <message>
        <source>&amp;Systém</source>
        <translation>&amp;System</translation>
    </message>
    <message>
        <source>&amp;Nastavní tisku</source>
        <translation>&amp;Printer Setup</translation>
    </message>
    <message>
        <source>&amp;Komunikace</source>
        <translation>&amp;Communication</translation>
    </message>
    <message>
        <source>Nastavení měření</source>
        <translation>Measurement Settings</translation>
    </message>
    <message>
        <source>Konec &amp;programu</source>
        <translation>E&amp;xit</translation>
    </message>
    <message>
        <source>&amp;Nový</source>
        <translation>&amp;New</translation>
    </message>
    <message>
        <source>&amp;Uložit</source>
        <translation>&amp;Save</translation>
    </message>
    <message>
        <source>&amp;Načíst</source>
        <translation>&amp;Load</translation>
    </message>
    <message>
        <source>&amp;Tisk</source>
        <translation>&amp;Print</translation>
    </message>
    <message>
        <source>Náhled tisku</source>
        <translation>Print Preview</translation>
    </message>
    <message>
        <source>Tisk do PDF...</source>
        <translation>Print to PDF...</translation>
    </message>
    <message>
        <source>&amp;Měření</source>
        <translation>&amp;Measurement</translation>
    </message>
    <message>
        <source>&amp;Okna</source>
        <translation>&amp;Windows</translation>
    </message>
    <message>
        <source>&amp;Tabulka dat</source>
        <translation>Data &amp;Table</translation>
    </message>
    <message>
        <source>&amp;Graf dat</source>
        <translation>Data &amp;Graph</translation>
    </message>
    <message>
        <source>&amp;Horizontálně</source>
        <translation>Tile &amp;Horizontally</translation>
    </message>
    <message>
        <source>&amp;Vertikálně</source>
        <translation>Tile &amp;Vertically</translation>
    </message>
    <message>
        <source>&amp;O programu</source>
        <translation>&amp;About</translation>
    </message>
    <message>
        <source>Nový</source>
        <translation>New</translation>
    </message>
    <message>
        <source>Uložit </source>
        <translation>Save</translation>
    </message>
    <message>
        <source>Načíst </source>
        <translation>Load</translation>
    </message>
    <message>
        <source>Tisk</source>
        <translation>Print</translation>
    </message>
    <message>
        <source>Nastavení</source>
        <translation>Settings</translation>
    </message>
    <message>
        <source>Excelu</source>
        <translation>To spreadsheet</translation>
    </message>
    <message>
        <source>Co se děje ...</source>
        <translation>Status ...</translation>
    </message>
    <message>
        <source>Připojeno</source>
        <translation>Connected</translation>
    </message>
    <message>
        <source>Nepřipojeno</source>
        <translation>Not connected</translation>
    </message>
    <message>
        <source>SIMULACE – data nejsou měřená</source>
        <translation>SIMULATION – the data are not measured</translation>
    </message>
    <message>
        <source>  – SIMULOVANÝ ANALYZÁTOR</source>
        <translation>  – SIMULATED ANALYSER</translation>
    </message>
    <message>
        <source>L-ROI :</source>
        <translation>L-ROI:</translation>
    </message>
    <message>
        <source>P-ROI :</source>
        <translation>R-ROI:</translation>
    </message>
    <message>
        <source>Radionuklid</source>
        <translation>Radionuclide</translation>
    </message>
    <message>
        <source>Čas měření [s]</source>
        <translation>Measuring time [s]</translation>
    </message>
    <message>
        <source>Počet opakování</source>
        <translation>Repetitions</translation>
    </message>
    <message>
        <source>Levý kanál ROI</source>
        <translation>Left ROI channel</translation>
    </message>
    <message>
        <source>Pravý kanál ROI</source>
        <translation>Right ROI channel</translation>
    </message>
    <message>
        <source>Vysoké napětí [V]</source>
        <translation>High voltage [V]</translation>
    </message>
    <message>
        <source>Impulzy v ROI [imp]</source>
        <translation>Counts in the ROI [imp]</translation>
    </message>
    <message>
        <source>Pozadí [1/s]</source>
        <translation>Background [1/s]</translation>
    </message>
    <message>
        <source>Další tlačítka</source>
        <translation>More buttons</translation>
    </message>
    <message>
        <source>Stav</source>
        <translation>Status</translation>
    </message>
    <message>
        <source>Datum</source>
        <translation>Date</translation>
    </message>
    <message>
        <source>Čas</source>
        <translation>Time</translation>
    </message>
    <message>
        <source>Průběh série</source>
        <translation>Series progress</translation>
    </message>
    <message>
        <source>Uplynulý čas cyklu [s]</source>
        <translation>Elapsed cycle time [s]</translation>
    </message>
    <message>
        <source>Stav brokeru MQTT</source>
        <translation>MQTT broker state</translation>
    </message>
</context>
<context>
    <name>pxr3::MeasurementSeries</name>
    <message>
        <source>Přejete si pokračovat v měření ?</source>
        <translation>Do you want to continue the measurement?</translation>
    </message>
    <message>
        <source>Tabulka obsahuje data, přejete si je zrušit ?</source>
        <translation>The table holds data. Do you want to discard them?</translation>
    </message>
    <message>
        <source>Automatické uložení do %1 selhalo: %2, další pokus po příštím cyklu</source>
        <translation>Automatic save to %1 failed: %2; next attempt after the next cycle</translation>
    </message>
    <message>
        <source>Automatické uložení do %1 opět proběhlo</source>
        <translation>Automatic save to %1 works again</translation>
    </message>
    <message>
        <source>Série skončila: </source>
        <translation>Series ended: </translation>
    </message>
    <message>
        <source>%1 z %2 cyklů</source>
        <translation>%1 of %2 cycles</translation>
    </message>
    <message>
        <source>, NEULOŽENO (%1: %2)</source>
        <translation>, NOT SAVED (%1: %2)</translation>
    </message>
    <message>
        <source>, uloženo v </source>
        <translation>, saved in </translation>
    </message>
    <message>
        <source>, výpadky spojení: %1</source>
        <translation>, link outages: %1</translation>
    </message>
    <message>
        <source>Série čeká na analyzátor, výpadek %1 (cyklus %2 z %3)</source>
        <translation>Series waits for the analyser, outage %1 (cycle %2 of %3)</translation>
    </message>
    <message>
        <source>Série: cyklus %1 z %2</source>
        <translation>Series: cycle %1 of %2</translation>
    </message>
    <message>
        <source> – automatické uložení selhalo</source>
        <translation> – automatic save failed</translation>
    </message>
    <message>
        <source>%1 cyklů</source>
        <translation>%1 cycles</translation>
    </message>
    <message>
        <source>Série: cyklus %1, až do zastavení</source>
        <translation>Series: cycle %1, until stopped</translation>
    </message>
</context>
<context>
    <name>pxr3::MeasurementTable</name>
    <message>
        <source>č.</source>
        <translation>No.</translation>
    </message>
    <message>
        <source>Datum / čas měření</source>
        <translation>Date / time</translation>
    </message>
    <message>
        <source>Emise [1/s]</source>
        <translation>Emission [1/s]</translation>
    </message>
    <message>
        <source>Čas měření</source>
        <translation>Measuring time</translation>
    </message>
    <message>
        <source>Poznámka</source>
        <translation>Note</translation>
    </message>
</context>
<context>
    <name>pxr3::SpectrumGraph</name>
    <message>
        <source>Kanál</source>
        <translation>Channel</translation>
    </message>
    <message>
        <source>N [imp]</source>
        <translation>N [counts]</translation>
    </message>
    <message>
        <source>N [Imp]</source>
        <translation>N [counts]</translation>
    </message>
    <message>
        <source>Uložit spektrum jako…</source>
        <translation>Save spectrum as…</translation>
    </message>
</context>
<context>
    <name>pxr3::ecGraph</name>
    <message>
        <source>Uložit graf</source>
        <translation>Save Graph</translation>
    </message>
    <message>
        <source>Graf se nepodařilo uložit do souboru %1.</source>
        <translation>The graph could not be saved to the file %1.</translation>
    </message>
    <message>
        <source>Uložit graf jako PNG…</source>
        <translation>Save graph as PNG…</translation>
    </message>
    <message>
        <source>Uložit graf jako PDF…</source>
        <translation>Save graph as PDF…</translation>
    </message>
    <message>
        <source>Dokument PDF (*.pdf)</source>
        <translation>PDF document (*.pdf)</translation>
    </message>
    <message>
        <source>Obrázek PNG (*.png)</source>
        <translation>PNG image (*.png)</translation>
    </message>
</context>
<context>
    <name>pxr3::frmAbout</name>
    <message>
        <source>O programu %1</source>
        <translation>About %1</translation>
    </message>
    <message>
        <source>Verze %1</source>
        <translation>Version %1</translation>
    </message>
    <message>
        <source>Ovládání a vyhodnocení mnohokanálového analyzátoru PXR3</source>
        <translation>Control and evaluation of the PXR3 multichannel analyser</translation>
    </message>
    <message>
        <source>&amp;Systémové informace...</source>
        <translation>&amp;System Information...</translation>
    </message>
    <message>
        <source>Systémové informace nyní nejsou k dispozici</source>
        <translation>System information is not available now</translation>
    </message>
</context>
<context>
    <name>pxr3::frm_Prubeh</name>
    <message>
        <source>Data - průběh</source>
        <translation>Data - time course</translation>
    </message>
    <message>
        <source>Průbeh</source>
        <translation>Time course</translation>
    </message>
    <message>
        <source>N [imp]</source>
        <translation>N [counts]</translation>
    </message>
    <message>
        <source>Graf průběhu četnosti</source>
        <translation>Count rate course graph</translation>
    </message>
</context>
<context>
    <name>pxr3::frm_USBkom</name>
    <message>
        <source>otevření USB portu</source>
        <translation>open the USB port</translation>
    </message>
    <message>
        <source>zavření USB portu</source>
        <translation>close the USB port</translation>
    </message>
    <message>
        <source>nastavení VN a T do PXR5</source>
        <translation>send HV and T to the PXR5</translation>
    </message>
    <message>
        <source>stop mereni spektra</source>
        <translation>stop the spectrum measurement</translation>
    </message>
    <message>
        <source>USB komunikace</source>
        <translation>USB Communication</translation>
    </message>
    <message>
        <source>rozhodovací mez aktivity (α = 5 %)</source>
        <translation>decision threshold of the activity (α = 5 %)</translation>
    </message>
    <message>
        <source>mez detekce aktivity (α = β = 5 %)</source>
        <translation>detection limit of the activity (α = β = 5 %)</translation>
    </message>
    <message>
        <source>ID analyzátoru</source>
        <translation>analyser identity</translation>
    </message>
    <message>
        <source>Read VN</source>
        <translation>Read HV</translation>
    </message>
    <message>
        <source>Write VN</source>
        <translation>Write HV</translation>
    </message>
    <message>
        <source>ROI L :</source>
        <translation>ROI L:</translation>
    </message>
    <message>
        <source>ROI P :</source>
        <translation>ROI R:</translation>
    </message>
    <message>
        <source>KF :</source>
        <translation>CF:</translation>
    </message>
    <message>
        <source>Poz:</source>
        <translation>Bkg:</translation>
    </message>
    <message>
        <source>vymazání okna zápisu komunikace</source>
        <translation>clear the communication log</translation>
    </message>
    <message>
        <source>Akt. Spektrum </source>
        <translation>Read spectrum</translation>
    </message>
    <message>
        <source>Uložit spektrum</source>
        <translation>Save spectrum</translation>
    </message>
    <message>
        <source>start mereni spektra</source>
        <translation>start the spectrum measurement</translation>
    </message>
    <message>
        <source>Průběh F2</source>
        <translation>Course F2</translation>
    </message>
    <message>
        <source>LOG Y-osa</source>
        <translation>LOG Y axis</translation>
    </message>
    <message>
        <source>Konec</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>minimalizace okna USB komunikace</source>
        <translation>minimise the USB communication window</translation>
    </message>
    <message>
        <source>SIMULOVANÝ ANALYZÁTOR</source>
        <translation>SIMULATED ANALYSER</translation>
    </message>
    <message>
        <source>USB komunikace  – SIMULOVANÝ ANALYZÁTOR</source>
        <translation>USB Communication  – SIMULATED ANALYSER</translation>
    </message>
    <message>
        <source>Spojení s analyzátorem ztraceno: </source>
        <translation>Link to the analyser lost: </translation>
    </message>
    <message>
        <source>Analyzátor nedostupný, výpadek %1 – nové připojení každých %2 s</source>
        <translation>Analyser unreachable, outage %1 – reconnecting every %2 s</translation>
    </message>
    <message>
        <source>Spojení obnoveno po %1 s</source>
        <translation>Link restored after %1 s</translation>
    </message>
    <message>
        <source>Uložit spektrum jako…</source>
        <translation>Save spectrum as…</translation>
    </message>
    <message>
        <source>spektrum cyklu do souboru N42, SPE nebo CSV</source>
        <translation>the cycle spectrum into an N42, SPE or CSV file</translation>
    </message>
    <message>
        <source>Záznam komunikace</source>
        <translation>Communication log</translation>
    </message>
    <message>
        <source>Četnost n [1/s]</source>
        <translation>Count rate n [1/s]</translation>
    </message>
    <message>
        <source>Nejistota četnosti u(n) [1/s]</source>
        <translation>Count rate uncertainty u(n) [1/s]</translation>
    </message>
    <message>
        <source>Objemová aktivita a [Bq/m³]</source>
        <translation>Volume activity a [Bq/m³]</translation>
    </message>
    <message>
        <source>Nejistota aktivity u(a) [Bq/m³]</source>
        <translation>Activity uncertainty u(a) [Bq/m³]</translation>
    </message>
    <message>
        <source>Rozhodovací mez aktivity a* [Bq/m³]</source>
        <translation>Activity decision threshold a* [Bq/m³]</translation>
    </message>
    <message>
        <source>Mez detekce aktivity a# [Bq/m³]</source>
        <translation>Activity detection limit a# [Bq/m³]</translation>
    </message>
    <message>
        <source>Doba cyklu T [s]</source>
        <translation>Cycle time T [s]</translation>
    </message>
    <message>
        <source>Vysoké napětí U [V]</source>
        <translation>High voltage U [V]</translation>
    </message>
    <message>
        <source>Levý kanál ROI L</source>
        <translation>Left ROI channel L</translation>
    </message>
    <message>
        <source>Pravý kanál ROI P</source>
        <translation>Right ROI channel P</translation>
    </message>
    <message>
        <source>Kalibrační faktor KF</source>
        <translation>Calibration factor KF</translation>
    </message>
    <message>
        <source>Pozadí [1/s]</source>
        <translation>Background [1/s]</translation>
    </message>
    <message>
        <source>Vyhlazení průběhu SF</source>
        <translation>Course smoothing SF</translation>
    </message>
    <message>
        <source>Parametr vyhlazení SF</source>
        <translation>Smoothing parameter SF</translation>
    </message>
    <message>
        <source>Graf spektra</source>
        <translation>Spectrum graph</translation>
    </message>
    <message>
        <source>Stav spojení</source>
        <translation>Link status</translation>
    </message>
</context>
<context>
    <name>pxr3::vse_mer</name>
    <message>
        <source>Data</source>
        <translation>Data</translation>
    </message>
    <message>
        <source>Tabulka měření</source>
        <translation>Measurement table</translation>
    </message>
    <message>
        <source>Datum a čas měření</source>
        <translation>Measurement date and time</translation>
    </message>
    <message>
        <source>Obsah buňky</source>
        <translation>Cell text</translation>
    </message>
</context>
</TS>
