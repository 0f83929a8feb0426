<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="ro">
<context>
    <name>AddDialog</name>
    <message>
        <source>Refresh</source>
        <translation>Refresh</translation>
    </message>
    <message>
        <source>Ok</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Abandoneaza</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Citirea listei a fost abandonata.</source>
        <translation>Reading the list was cancelled.</translation>
    </message>
</context>
<context>
    <name>AppVersion</name>
    <message>
        <source>Conversia sumelor din bazele de date din lei vechi in lei noi si inapoi</source>
        <translation>Conversion of database amounts from old lei to new lei and back</translation>
    </message>
</context>
<context>
    <name>Changeover</name>
    <message>
        <source>Cursul de schimb din proiect (&quot;%1&quot;) nu este un numar zecimal pozitiv.</source>
        <translation>The exchange rate in the project (&quot;%1&quot;) is not a positive decimal number.</translation>
    </message>
    <message>
        <source>Regula de rotunjire din proiect (&quot;%1&quot;) nu este cunoscuta.</source>
        <translation>The rounding rule in the project (&quot;%1&quot;) is not known.</translation>
    </message>
    <message>
        <source>Conversie din %1 in %2</source>
        <extracomment>%1 is the currency the amounts leave, %2 the one they reach.</extracomment>
        <translation>Conversion from %1 to %2</translation>
    </message>
</context>
<context>
    <name>CommandLine</name>
    <message>
        <source>Utilizare:
  vamor --convert PROIECT.vmd --to noi|vechi|COD [--yes] [--report FISIER] [--list]
        [--reconnect] [--no-totals] [--lock-timeout SECUNDE] [--jobs N]
  vamor --discover PROIECT.vmd [--source NUME] [--add]
        (cauta coloanele cu sume ale surselor de date; vamor --discover --help)
  vamor --history PROIECT.vmd [--csv]
        (conversiile inregistrate in proiect; vamor --history --help)
  vamor --help

Converteste sumele din bazele de date descrise de proiect, fara ferestre:
  --to noi      din lei VECHI in lei NOI (10 000 lei vechi = 1 leu nou)
  --to vechi    inapoi, din lei NOI in lei VECHI
                (la un proiect al altei schimbari de moneda, ca BGN in EUR:
                noi = in moneda noua, vechi = inapoi in cea veche)
  --to COD      codul monedei in care se converteste, dupa proiect: RON sau
                ROL, EUR sau BGN, EUR sau HRK
  --yes         nu mai intreaba &quot;Continuati? (d/n)&quot;
  --report F    scrie raportul conversiei in fisierul F (PDF cand F se termina in .pdf)
  --reconnect   incearca din nou sursele de date marcate Deconectat
  --no-totals   fara totaluri de control (sumele inainte si dupa conversie,
                calculate de baza de date; implicit sunt calculate)
  --lock-timeout S
                cat asteapta cel mult, in secunde, un tabel blocat de alt
                program; campul lui nu este convertit, iar conversia trece
                la urmatorul (implicit LockTimeout din sirul de conectare
                al sursei, altfel 30; 0 nu asteapta deloc; cel mult 600)
  --jobs N      converteste cel mult N surse de date in acelasi timp, fiecare
                cu conexiunea ei; campurile unei surse raman in ordinea
                proiectului (implicit 1; 0 = cate una pe procesor)
  --list        doar listeaza campurile care vor fi convertite (starea lor
                este reimprospatata si proiectul salvat); nu converteste nimic

Proiectul este deschis printr-o copie de lucru in folderul programului
(la un program instalat in ~/.local/share/Vamor; in folderul dat de
variabila VAMOR_HOME cand ea exista) si salvat la sfarsit.

Fara optiuni, vamor PROIECT.vmd deschide proiectul in fereastra programului.

Cod de iesire: 0 toate campurile incercate au fost convertite,
               1 cel putin un camp nu a putut fi convertit, a fost sarit,
                 o suma restaurata difera de cea veche
                 sau conversia a fost oprita (Ctrl+C),
               2 argumente gresite sau proiectul nu poate fi deschis.
</source>
        <extracomment>The option names (--convert, --to, ...) and the values noi and vechi stay as they are: the user types them.</extracomment>
        <translation>Usage:
  vamor --convert PROJECT.vmd --to noi|vechi|CODE [--yes] [--report FILE] [--list]
        [--reconnect] [--no-totals] [--lock-timeout SECONDS] [--jobs N]
  vamor --discover PROJECT.vmd [--source NAME] [--add]
        (find the amount columns of the data sources; vamor --discover --help)
  vamor --history PROJECT.vmd [--csv]
        (the conversions recorded in the project; vamor --history --help)
  vamor --help

Convert the amounts in the databases described by the project, without windows:
  --to noi      from OLD lei to NEW lei (10 000 old lei = 1 new leu)
  --to vechi    back, from NEW lei to OLD lei
                (for a project of another changeover, such as BGN to EUR:
                noi = to the new currency, vechi = back to the old one)
  --to CODE     the code of the currency to convert to, depending on the project:
                RON or ROL, EUR or BGN, EUR or HRK
  --yes         do not ask &quot;Continue? (y/n)&quot;
  --report F    write the conversion report to file F (PDF when F ends in .pdf)
  --reconnect   try the data sources marked Offline again
  --no-totals   no control totals (the amounts before and after the conversion,
                computed by the database; by default they are computed)
  --lock-timeout S
                how long to wait at most, in seconds, for a table locked by
                another program; its field is not converted, and the conversion
                moves on to the next one (default: LockTimeout from the data
                source&apos;s connection string, otherwise 30; 0 does not wait at
                all; at most 600)
  --jobs N      convert at most N data sources at the same time, each with
                its own connection; the fields of a source keep the order of
                the project (default 1; 0 = one per processor)
  --list        only list the fields that will be converted (their state
                is refreshed and the project saved); nothing is converted

The project is opened through a working copy in the program&apos;s folder
(for an installed program, in ~/.local/share/Vamor; in the folder given by
the VAMOR_HOME variable when it exists) and saved at the end.

Without options, vamor PROJECT.vmd opens the project in the program window.

Exit code: 0 all the fields attempted were converted,
           1 at least one field could not be converted, was skipped,
             a restored amount differs from the old one
             or the conversion was stopped (Ctrl+C),
           2 wrong arguments or the project cannot be opened.
</translation>
    </message>
    <message>
        <source>Lipseste valoarea optiunii %1.</source>
        <translation>Missing value for option %1.</translation>
    </message>
    <message>
        <source>Optiunea %1 nu primeste o valoare.</source>
        <translation>Option %1 does not take a value.</translation>
    </message>
    <message>
        <source>Optiunea %1 este data de doua ori.</source>
        <translation>Option %1 is given twice.</translation>
    </message>
    <message>
        <source>Valoare gresita pentru --lock-timeout: %1 (se accepta un numar de secunde intre 0 si 600, de exemplu 30 sau 0.5)</source>
        <translation>Wrong value for --lock-timeout: %1 (accepted: a number of seconds between 0 and 600, for example 30 or 0.5)</translation>
    </message>
    <message>
        <source>Valoare gresita pentru --jobs: %1 (se accepta un numar intreg intre 0 si %2; 0 inseamna cate o sursa de date pe procesor)</source>
        <translation>Wrong value for --jobs: %1 (accepted: a whole number between 0 and %2; 0 means one data source per processor)</translation>
    </message>
    <message>
        <source>Optiune necunoscuta: %1</source>
        <translation>Unknown option: %1</translation>
    </message>
    <message>
        <source>Argument neasteptat: %1</source>
        <translation>Unexpected argument: %1</translation>
    </message>
    <message>
        <source>Lipseste proiectul: --convert PROIECT.vmd</source>
        <translation>Missing project: --convert PROJECT.vmd</translation>
    </message>
    <message>
        <source>Lipseste directia conversiei: --to noi sau --to vechi</source>
        <extracomment>&quot;--to noi&quot; and &quot;--to vechi&quot; are typed as they are.</extracomment>
        <translation>Missing conversion direction: --to noi or --to vechi</translation>
    </message>
    <message>
        <source>Directie necunoscuta: %1 (se accepta noi sau vechi)</source>
        <extracomment>%1: what the user gave to --to; &quot;noi&quot; and &quot;vechi&quot; are typed as they are.</extracomment>
        <translation>Unknown direction: %1 (accepted: noi or vechi)</translation>
    </message>
    <message>
        <source>Sursa Date</source>
        <translation>Data Source</translation>
    </message>
    <message>
        <source>Tabel</source>
        <translation>Table</translation>
    </message>
    <message>
        <source>Camp</source>
        <translation>Field</translation>
    </message>
    <message>
        <source>Observatii</source>
        <translation>Remarks</translation>
    </message>
    <message>
        <source>Campurile ramase nu au putut fi citite: %1</source>
        <translation>The remaining fields could not be read: %1</translation>
    </message>
    <message>
        <source>Continuati? (d/n)</source>
        <translation>Continue? (y/n)</translation>
    </message>
    <message>
        <source>d|da</source>
        <extracomment>The answers to &quot;Continuati? (d/n)&quot; that mean yes, in lower case, separated by &quot;|&quot;.</extracomment>
        <translation>y|yes</translation>
    </message>
    <message>
        <source>Proiectul &quot;%1&quot; nu poate fi deschis: %2</source>
        <translation>Project &quot;%1&quot; cannot be opened: %2</translation>
    </message>
    <message>
        <source>Directie necunoscuta: %1 (se accepta noi sau vechi, %2 sau %3)</source>
        <extracomment>%1: what the user gave to --to; %2, %3: the codes of the currencies. &quot;noi&quot; and &quot;vechi&quot; are typed as they are.</extracomment>
        <translation>Unknown direction: %1 (accepted: noi or vechi, %2 or %3)</translation>
    </message>
    <message>
        <source>Sursele deconectate nu au putut fi repuse in lucru: %1</source>
        <translation>The offline data sources could not be brought back online: %1</translation>
    </message>
    <message>
        <source>Campurile nu au putut fi listate: %1</source>
        <translation>The fields could not be listed: %1</translation>
    </message>
    <message>
        <source>Conversia nu a fost facuta.</source>
        <translation>No conversion was done.</translation>
    </message>
    <message>
        <source>Conversia s-a oprit din cauza unei erori: %1: %2</source>
        <translation>The conversion stopped because of an error: %1: %2</translation>
    </message>
    <message numerus="yes">
        <source>Sursa de date &quot;%1&quot; a fost sarita: %2; %n campuri ale ei nu au fost convertite.</source>
        <translation>
            <numerusform>Data source &quot;%1&quot; was skipped: %2; its %n field was not converted.</numerusform>
            <numerusform>Data source &quot;%1&quot; was skipped: %2; %n of its fields were not converted.</numerusform>
        </translation>
    </message>
    <message>
        <source>Sursa de date &quot;%1&quot; nu a putut fi deschisa si a fost marcata Deconectat.</source>
        <translation>Data source &quot;%1&quot; could not be opened and was marked Offline.</translation>
    </message>
    <message>
        <source>Campul &quot;%1&quot; din tabelul &quot;%2&quot;: suma restaurata %3 difera de suma veche %4.</source>
        <translation>Field &quot;%1&quot; in table &quot;%2&quot;: the restored amount %3 differs from the old amount %4.</translation>
    </message>
    <message>
        <source>Raportul nu a putut fi scris: %1</source>
        <translation>The report could not be written: %1</translation>
    </message>
</context>
<context>
    <name>CommandLineProject</name>
    <message>
        <source>Copie de lucru ramasa de la o rulare Vamor oprita: &quot;%1&quot; (%2). Poate fi recuperata sau stearsa din programul Vamor cu ferestre.</source>
        <translation>Working copy left over from a stopped Vamor run: &quot;%1&quot; (%2). It can be recovered or deleted in the graphical Vamor program.</translation>
    </message>
    <message>
        <source>Jurnal ramas de la o rulare Vamor oprita: &quot;%1&quot; (%2). Poate fi sters din programul Vamor cu ferestre.</source>
        <translation>Journal left over from a stopped Vamor run: &quot;%1&quot; (%2). It can be deleted in the graphical Vamor program.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; este un folder, nu un fisier de proiect.</source>
        <translation>&quot;%1&quot; is a folder, not a project file.</translation>
    </message>
    <message>
        <source>Proiectul &quot;%1&quot; nu exista.</source>
        <translation>Project &quot;%1&quot; does not exist.</translation>
    </message>
    <message>
        <source>Nu se poate face copia de lucru a proiectului in folderul &quot;%1&quot;: %2</source>
        <translation>The working copy of the project cannot be made in folder &quot;%1&quot;: %2</translation>
    </message>
    <message>
        <source>Proiectul are versiunea %1, pe care acest program nu o cunoaste.</source>
        <translation>The project has version %1, which this program does not know.</translation>
    </message>
    <message>
        <source>Proiectul &quot;%1&quot; nu poate fi deschis: %2</source>
        <translation>Project &quot;%1&quot; cannot be opened: %2</translation>
    </message>
    <message>
        <source>Proiectul nu a putut fi salvat: %1
Starea campurilor a ramas in copia de lucru &quot;%2&quot;.</source>
        <translation>The project could not be saved: %1
The state of the fields remained in the working copy &quot;%2&quot;.</translation>
    </message>
    <message>
        <source>Alegeti alt fisier pentru --report.</source>
        <translation>Choose another file for --report.</translation>
    </message>
    <message>
        <source>Raportul nu poate fi scris in &quot;%1&quot;: acesta este fisierul proiectului.</source>
        <translation>The report cannot be written to &quot;%1&quot;: that is the project file.</translation>
    </message>
    <message>
        <source>Raportul nu poate fi scris in &quot;%1&quot;: acesta este copia de lucru a proiectului.</source>
        <translation>The report cannot be written to &quot;%1&quot;: that is the working copy of the project.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; este un folder; --report trebuie sa numeasca un fisier.</source>
        <translation>&quot;%1&quot; is a folder; --report must name a file.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; este o legatura catre un fisier care nu exista; raportul nu va fi scris acolo.</source>
        <translation>&quot;%1&quot; is a link to a file that does not exist; the report will not be written there.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; nu este un fisier obisnuit; raportul nu va fi scris acolo.</source>
        <translation>&quot;%1&quot; is not a regular file; the report will not be written there.</translation>
    </message>
    <message>
        <source>Fisierul &quot;%1&quot; nu poate fi citit (%2); nu va fi inlocuit de raport.</source>
        <translation>File &quot;%1&quot; cannot be read (%2); it will not be replaced by the report.</translation>
    </message>
    <message>
        <source>Fisierul &quot;%1&quot; exista si nu este un raport scris de Vamor; nu va fi inlocuit.</source>
        <translation>File &quot;%1&quot; exists and is not a report written by Vamor; it will not be replaced.</translation>
    </message>
</context>
<context>
    <name>ConnString</name>
    <message>
        <source>Sirul de conectare nu este valid: lipseste semnul &quot;=&quot; dupa &quot;%1&quot;</source>
        <translation>The connection string is not valid: the &quot;=&quot; sign is missing after &quot;%1&quot;</translation>
    </message>
    <message>
        <source>Sirul de conectare nu este valid: un atribut nu are nume</source>
        <translation>The connection string is not valid: an attribute has no name</translation>
    </message>
    <message>
        <source>Sirul de conectare nu este valid: acolada deschisa la &quot;%1&quot; nu este inchisa</source>
        <translation>The connection string is not valid: the brace opened at &quot;%1&quot; is not closed</translation>
    </message>
    <message>
        <source>Sirul de conectare nu este valid: text dupa acolada inchisa la &quot;%1&quot;</source>
        <translation>The connection string is not valid: text after the brace closed at &quot;%1&quot;</translation>
    </message>
    <message>
        <source>Valoare necunoscuta pentru LockTimeout: %1 (se accepta un numar de secunde, de exemplu 30 sau 0.5).</source>
        <translation>Unknown value for LockTimeout: %1 (accepted: a number of seconds, for example 30 or 0.5).</translation>
    </message>
</context>
<context>
    <name>ConnStrings</name>
    <message>
        <source>Valoare Null nepermisa in coloana %1</source>
        <translation>Null value not allowed in column %1</translation>
    </message>
    <message>
        <source>Sursa de date sau tipul ei nu exista in proiect.</source>
        <translation>The data source or its type does not exist in the project.</translation>
    </message>
    <message>
        <source>%1 (Deconectat)</source>
        <extracomment>The tree node of a data source marked offline: %1 is its description.</extracomment>
        <translation>%1 (Offline)</translation>
    </message>
</context>
<context>
    <name>Connection</name>
    <message>
        <source>Valoare necunoscuta pentru Cache: %1 (se accepta Shared sau Private).</source>
        <translation>Unknown value for Cache: %1 (accepted: Shared or Private).</translation>
    </message>
    <message>
        <source>Valoare necunoscuta pentru LockTimeout: %1 (se accepta un numar de secunde intre 0 si 600).</source>
        <translation>Unknown value for LockTimeout: %1 (accepted: a number of seconds between 0 and 600).</translation>
    </message>
    <message>
        <source>Valoare necunoscuta pentru Synchronous: %1 (se accepta Off, Normal sau Full).</source>
        <translation>Unknown value for Synchronous: %1 (accepted: Off, Normal or Full).</translation>
    </message>
    <message>
        <source>Valoare necunoscuta pentru Journal: %1 (se accepta Delete, Truncate sau Persist).</source>
        <translation>Unknown value for Journal: %1 (accepted: Delete, Truncate or Persist).</translation>
    </message>
    <message>
        <source>Sirul de conectare nu numeste fisierul bazei de date (Data Source).</source>
        <translation>The connection string does not name the database file (Data Source).</translation>
    </message>
    <message>
        <source>Operatia nu este permisa cand conexiunea este inchisa.</source>
        <translation>The operation is not allowed while the connection is closed.</translation>
    </message>
    <message>
        <source>Comanda nu contine nicio instructiune SQL.</source>
        <translation>The command contains no SQL statement.</translation>
    </message>
    <message>
        <source>O tranzactie este deja deschisa.</source>
        <translation>A transaction is already open.</translation>
    </message>
    <message>
        <source>Nu exista o tranzactie deschisa.</source>
        <translation>There is no open transaction.</translation>
    </message>
    <message>
        <source>Tabelul %1 nu exista.</source>
        <translation>Table %1 does not exist.</translation>
    </message>
    <message>
        <source>Coloana %1 nu exista in tabelul %2.</source>
        <translation>Column %1 does not exist in table %2.</translation>
    </message>
</context>
<context>
    <name>ControlTotals</name>
    <message>
        <source>aproximativ</source>
        <extracomment>Remark of control totals that are not exact (read from floating-point values).</extracomment>
        <translation>approximate</translation>
    </message>
    <message>
        <source>baza de date nu a intors un numar pentru totaluri</source>
        <translation>the database did not return a number for the totals</translation>
    </message>
    <message>
        <source>interogarea totalurilor nu a intors niciun rand</source>
        <translation>the totals query returned no row</translation>
    </message>
    <message>
        <source>valori care nu sunt numere</source>
        <translation>values that are not numbers</translation>
    </message>
    <message>
        <source>suma restaurata nu poate fi citita exact</source>
        <translation>the restored amount cannot be read exactly</translation>
    </message>
    <message>
        <source>Suma %1</source>
        <extracomment>Column head: the sum in a currency, as &quot;Suma lei vechi&quot;.</extracomment>
        <translation>Amount in %1</translation>
    </message>
    <message>
        <source>Inregistrari</source>
        <translation>Records</translation>
    </message>
    <message>
        <source>Observatii</source>
        <translation>Remarks</translation>
    </message>
    <message>
        <source>Suma asteptata</source>
        <translation>Expected amount</translation>
    </message>
    <message>
        <source>Diferenta rotunjire</source>
        <translation>Rounding difference</translation>
    </message>
    <message>
        <source>Suma restaurata</source>
        <translation>Restored amount</translation>
    </message>
    <message>
        <source>Verificare</source>
        <extracomment>Column head: whether the restored sum equals the old one.</extracomment>
        <translation>Check</translation>
    </message>
    <message>
        <source>egal</source>
        <extracomment>The restored sum equals the old one.</extracomment>
        <translation>equal</translation>
    </message>
    <message>
        <source>DIFERIT</source>
        <translation>DIFFERENT</translation>
    </message>
    <message>
        <source>fara totaluri: %1</source>
        <translation>no totals: %1</translation>
    </message>
    <message numerus="yes">
        <source>%n campuri fara totaluri</source>
        <translation>
            <numerusform>%n field without totals</numerusform>
            <numerusform>%n fields without totals</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>ConversionCommand</name>
    <message>
        <source>Proiectul trebuie salvat inainte de a face conversia.
Doriti sa se faca salvarea acum?</source>
        <translation>The project must be saved before the conversion.
Do you want to save it now?</translation>
    </message>
</context>
<context>
    <name>ConversionEngine</name>
    <message>
        <source>Sursa de Date %1/%2 (%3)</source>
        <extracomment>Progress of the data sources: number, count, the source&apos;s name. Keep the name last, in parentheses.</extracomment>
        <translation>Data Source %1/%2 (%3)</translation>
    </message>
    <message>
        <source>Tabel %1/%2 (%3)</source>
        <extracomment>Progress of the tables: number, count, the table&apos;s name. Keep the name last, in parentheses.</extracomment>
        <translation>Table %1/%2 (%3)</translation>
    </message>
    <message>
        <source>Camp %1/%2 (%3)</source>
        <extracomment>Progress of the fields: number, count, the field&apos;s name. Keep the name last, in parentheses.</extracomment>
        <translation>Field %1/%2 (%3)</translation>
    </message>
    <message>
        <source>Vamor poate citi aceasta baza de date, dar nu poate scrie in ea (driverul ei este doar pentru citire); campul nu a fost convertit.</source>
        <translation>Vamor can read this database but cannot write to it (its driver is read-only); the field was not converted.</translation>
    </message>
    <message>
        <source>este marcata Deconectat (nu a putut fi deschisa la o rulare anterioara)</source>
        <extracomment>Why a data source was passed over; follows its name.</extracomment>
        <translation>is marked Offline (it could not be opened during an earlier run)</translation>
    </message>
    <message>
        <source>tipul ei (%1) nu exista in proiect</source>
        <translation>its type (%1) does not exist in the project</translation>
    </message>
    <message>
        <source>tipul ei nu are sablon de conversie in %1</source>
        <translation>its type has no conversion template for %1</translation>
    </message>
    <message>
        <source>nu are sir de conectare</source>
        <translation>has no connection string</translation>
    </message>
    <message>
        <source>sirul ei de conectare nu poate fi format: %1</source>
        <translation>its connection string cannot be built: %1</translation>
    </message>
    <message>
        <source>nu a putut fi deschisa si a fost marcata Deconectat: %1</source>
        <translation>could not be opened and was marked Offline: %1</translation>
    </message>
    <message>
        <source>Sursa de Date</source>
        <translation>Data Source</translation>
    </message>
    <message>
        <source>Tabel</source>
        <translation>Table</translation>
    </message>
    <message>
        <source>Camp</source>
        <translation>Field</translation>
    </message>
    <message>
        <source>Serverul acestei surse de date este un server de rezerva (standby) care urmeaza alt server si poate fi doar citit; conversia se face prin serverul principal. Campul nu a fost convertit.</source>
        <translation>The server of this data source is a standby that follows another server and can only be read; convert through the primary server. The field was not converted.</translation>
    </message>
</context>
<context>
    <name>ConversionField</name>
    <message>
        <source>Campul &quot;%1&quot; contine valori care nu sunt numere (de exemplu &quot;%2&quot;); nu a fost convertit.</source>
        <translation>Field &quot;%1&quot; contains values that are not numbers (for example &quot;%2&quot;); it was not converted.</translation>
    </message>
    <message numerus="yes">
        <source>Sume rotunjite la %n zecimale</source>
        <translation>
            <numerusform>Amounts rounded to %n decimal place</numerusform>
            <numerusform>Amounts rounded to %n decimal places</numerusform>
        </translation>
    </message>
    <message>
        <source>Coloana &quot;%1&quot; este convertita deja de un alt camp al tabelului; campul nu a fost convertit.</source>
        <translation>Column &quot;%1&quot; is already converted by another field of the table; the field was not converted.</translation>
    </message>
    <message>
        <source>Coloana &quot;%1&quot; este coloana de restaurare a unui camp al tabelului; campul nu a fost convertit.</source>
        <translation>Column &quot;%1&quot; is the recovery column of a field of the table; the field was not converted.</translation>
    </message>
    <message>
        <source>Coloana de restaurare &quot;%1&quot; este folosita si de un alt camp al tabelului; campul nu a fost convertit.</source>
        <translation>Recovery column &quot;%1&quot; is also used by another field of the table; the field was not converted.</translation>
    </message>
    <message>
        <source>Starea campului este necunoscuta: nu a putut fi verificata din nou dupa intrerupere (%1).</source>
        <translation>The state of the field is unknown: it could not be checked again after the interruption (%1).</translation>
    </message>
    <message>
        <source>sesiunea abandonata, numarul %1 pe server, nu s-a incheiat inca, iar tranzactia ei poate fi inca salvata</source>
        <translation>the abandoned session, number %1 on the server, has not ended yet, and its transaction may still be committed</translation>
    </message>
    <message>
        <source>Starea a fost verificata din nou dupa o intrerupere: campul este in %1.</source>
        <translation>The state was checked again after an interruption: the field is in %1.</translation>
    </message>
    <message>
        <source>Suma restaurata (%1) difera de suma %2 din coloana de restaurare (%3); conversia inapoi a fost anulata, campul a ramas in %4.</source>
        <translation>The restored amount (%1) differs from the amount in %2 in the recovery column (%3); the reverse conversion was cancelled, the field remained in %4.</translation>
    </message>
    <message>
        <source>Totalurile de control nu au putut fi citite (%1); conversia campului a fost anulata.</source>
        <translation>The control totals could not be read (%1); the conversion of the field was cancelled.</translation>
    </message>
    <message>
        <source>Campul nu a fost convertit.</source>
        <translation>The field was not converted.</translation>
    </message>
    <message>
        <source>numarul inregistrarilor nu a putut fi citit</source>
        <translation>the number of records could not be read</translation>
    </message>
    <message>
        <source>Baza de date a confirmat tranzactia, dar starea campului nu a putut fi citita din nou: %1</source>
        <translation>The database confirmed the transaction, but the state of the field could not be read again: %1</translation>
    </message>
    <message>
        <source>Baza de date a confirmat tranzactia, dar nu arata campul convertit; starea lui a fost citita din nou din baza de date.</source>
        <translation>The database confirmed the transaction but does not show the field as converted; its state was read again from the database.</translation>
    </message>
    <message>
        <source>nodul nu face parte din componenta principala a clusterului</source>
        <translation>the node is not part of the cluster&apos;s primary component</translation>
    </message>
    <message>
        <source>nodul il vede inca in cluster pe cel prin care s-a facut conversia, unde tranzactia poate fi inca salvata</source>
        <translation>the node still sees the node the conversion went through in its cluster, where the transaction may still be committed</translation>
    </message>
    <message>
        <source>membrii clusterului nu au putut fi cititi; utilizatorul sursei de date are nevoie de dreptul de a citi tabelul mysql.wsrep_cluster_members: %1</source>
        <translation>the cluster&apos;s members could not be read; the data source&apos;s user needs the right to read the table mysql.wsrep_cluster_members: %1</translation>
    </message>
    <message>
        <source>Starea a fost verificata din nou dupa o intrerupere, prin nodul %1 al clusterului: campul este in %2.</source>
        <translation>The state was checked again after an interruption, through node %1 of the cluster: the field is in %2.</translation>
    </message>
    <message>
        <source>prin nodul %1: %2</source>
        <translation>through node %1: %2</translation>
    </message>
</context>
<context>
    <name>ConversionListing</name>
    <message>
        <source>sursa de date &quot;%1&quot;</source>
        <extracomment>What the listing waits for: the data source being opened.</extracomment>
        <translation>data source &quot;%1&quot;</translation>
    </message>
    <message>
        <source>tabelul &quot;%1&quot; al sursei &quot;%2&quot;</source>
        <extracomment>What the listing waits for: a table of a data source.</extracomment>
        <translation>table &quot;%1&quot; of data source &quot;%2&quot;</translation>
    </message>
    <message>
        <source>Starea campului nu a putut fi citita: %1</source>
        <translation>The state of the field could not be read: %1</translation>
    </message>
    <message numerus="yes">
        <source>Coloana pastreaza doar %n zecimale</source>
        <translation>
            <numerusform>The column keeps only %n decimal place</numerusform>
            <numerusform>The column keeps only %n decimal places</numerusform>
        </translation>
    </message>
    <message>
        <source>Rotunjire %1</source>
        <extracomment>%1: the name of the rounding rule, as &quot;SUS&quot;.</extracomment>
        <translation>Rounding %1</translation>
    </message>
    <message>
        <source>Campuri verificate: %1</source>
        <translation>Fields checked: %1</translation>
    </message>
    <message numerus="yes">
        <source>%n campuri vor fi convertite</source>
        <translation>
            <numerusform>%n field will be converted</numerusform>
            <numerusform>%n fields will be converted</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>ConversionRun</name>
    <message>
        <source>Conversie intrerupta de utilizator</source>
        <translation>Conversion interrupted by the user</translation>
    </message>
</context>
<context>
    <name>DbError</name>
    <message>
        <source>Asteptarea a fost oprita de utilizator.</source>
        <translation>The wait was stopped by the user.</translation>
    </message>
    <message>
        <source>Interogarea nu s-a terminat in %1 s si a fost oprita.</source>
        <translation>The query did not finish within %1 s and was stopped.</translation>
    </message>
    <message>
        <source>Baza de date nu a raspuns la salvarea tranzactiei in %1 s; conexiunea a fost abandonata.</source>
        <translation>The database did not respond to the transaction commit within %1 s; the connection was abandoned.</translation>
    </message>
    <message>
        <source>Legatura cu serverul s-a pierdut in timpul salvarii tranzactiei.</source>
        <translation>The link to the server was lost while the transaction was being committed.</translation>
    </message>
</context>
<context>
    <name>DbfFile</name>
    <message>
        <source>Fisierul %1 nu este un tabel DBF.</source>
        <translation>File %1 is not a DBF table.</translation>
    </message>
    <message>
        <source>Textul &quot;%1&quot; nu poate fi scris in pagina de cod a tabelului.</source>
        <translation>The text &quot;%1&quot; cannot be written in the code page of the table.</translation>
    </message>
    <message>
        <source>Tabelul %1 nu poate fi citit: %2</source>
        <translation>Table %1 cannot be read: %2</translation>
    </message>
    <message>
        <source>Tabelul %1 are coloana %2 de un tip pe care Vamor nu il cunoaste (%3).</source>
        <translation>Table %1 has column %2 of a type that Vamor does not know (%3).</translation>
    </message>
    <message>
        <source>Tabelul %1 este incomplet: fisierul se termina inaintea ultimei inregistrari.</source>
        <translation>Table %1 is incomplete: the file ends before the last record.</translation>
    </message>
    <message>
        <source>Lipseste fisierul memo al tabelului %1.</source>
        <translation>The memo file of table %1 is missing.</translation>
    </message>
    <message>
        <source>Fisierul memo %1 nu poate fi citit: %2</source>
        <translation>Memo file %1 cannot be read: %2</translation>
    </message>
    <message>
        <source>Coloana %1 nu exista.</source>
        <translation>Column %1 does not exist.</translation>
    </message>
    <message>
        <source>Valoarea %1 nu incape exact in coloana %2 (%3,%4).</source>
        <translation>The value %1 does not fit exactly in column %2 (%3,%4).</translation>
    </message>
    <message>
        <source>Coloana %1 nu poate primi valoarea Null.</source>
        <translation>Column %1 cannot take the Null value.</translation>
    </message>
    <message>
        <source>Valoarea &quot;%1&quot; din coloana %2 nu este un numar.</source>
        <translation>The value &quot;%1&quot; in column %2 is not a number.</translation>
    </message>
    <message>
        <source>Valoarea &quot;%1&quot; din coloana %2 nu este o data.</source>
        <translation>The value &quot;%1&quot; in column %2 is not a date.</translation>
    </message>
    <message>
        <source>Coloana memo %1 nu poate fi modificata de Vamor.</source>
        <translation>Memo column %1 cannot be modified by Vamor.</translation>
    </message>
    <message>
        <source>Numele de coloana &quot;%1&quot; nu poate fi folosit intr-un tabel DBF: cel mult 10 litere, cifre sau &quot;_&quot;, incepand cu o litera.</source>
        <translation>The column name &quot;%1&quot; cannot be used in a DBF table: at most 10 letters, digits or &quot;_&quot;, starting with a letter.</translation>
    </message>
    <message>
        <source>Coloana %1 exista deja in tabelul %2.</source>
        <translation>Column %1 already exists in table %2.</translation>
    </message>
    <message>
        <source>Tipul de coloana %1 nu poate fi adaugat acestui tabel DBF.</source>
        <translation>Column type %1 cannot be added to this DBF table.</translation>
    </message>
    <message>
        <source>Dimensiunea %1,%2 nu este valida pentru o coloana %3 a unui tabel DBF.</source>
        <translation>The size %1,%2 is not valid for a %3 column of a DBF table.</translation>
    </message>
    <message>
        <source>Inregistrarile tabelului %1 ar depasi 65535 de octeti.</source>
        <translation>The records of table %1 would exceed 65535 bytes.</translation>
    </message>
    <message>
        <source>Ultima coloana a tabelului %1 nu poate fi stearsa.</source>
        <translation>The last column of table %1 cannot be deleted.</translation>
    </message>
    <message>
        <source>Tabelul %1 are prea multe coloane.</source>
        <translation>Table %1 has too many columns.</translation>
    </message>
</context>
<context>
    <name>DbfIndexFiles</name>
    <message>
        <source>antetul este incomplet</source>
        <translation>the header is incomplete</translation>
    </message>
    <message>
        <source>antetul nu are o expresie de cheie</source>
        <translation>the header has no key expression</translation>
    </message>
    <message>
        <source>nu poate fi deschis: %1</source>
        <translation>cannot be opened: %1</translation>
    </message>
    <message>
        <source>Coloana %1 a tabelului %2 are o eticheta in indexul de productie (.mdx). Stergeti intai acest index in programul care foloseste tabelul, apoi reluati conversia.</source>
        <translation>Column %1 of table %2 has a tag in the production index (.mdx). First delete this index in the program that uses the table, then run the conversion again.</translation>
    </message>
    <message>
        <source>Fisierul de index %1 poate folosi coloana %2. Stergeti intai acest index in programul care foloseste tabelul, apoi reluati conversia.</source>
        <translation>Index file %1 may use column %2. First delete this index in the program that uses the table, then run the conversion again.</translation>
    </message>
    <message>
        <source>Fisierul de index %1 poate folosi coloana %2 (un fisier de index cu alt nume decat al tabelului poate fi al oricarui tabel din dosar). Stergeti intai acest index in programul care foloseste tabelul, apoi reluati conversia.</source>
        <translation>Index file %1 may use column %2 (an index file whose name differs from the table&apos;s may belong to any table in the folder). First delete this index in the program that uses the table, then run the conversion again.</translation>
    </message>
    <message>
        <source>Fisierul de index %1 nu poate fi citit (%3), deci nu se stie daca foloseste coloana %2. Stergeti intai acest index in programul care foloseste tabelul, apoi reluati conversia.</source>
        <translation>Index file %1 cannot be read (%3), so it is not known whether it uses column %2. First delete this index in the program that uses the table, then run the conversion again.</translation>
    </message>
    <message>
        <source>Fisierul de index %1 nu poate fi citit (%3), deci nu se stie daca foloseste coloana %2 (un fisier de index cu alt nume decat al tabelului poate fi al oricarui tabel din dosar). Stergeti intai acest index in programul care foloseste tabelul, apoi reluati conversia.</source>
        <translation>Index file %1 cannot be read (%3), so it is not known whether it uses column %2 (an index file whose name differs from the table&apos;s may belong to any table in the folder). First delete this index in the program that uses the table, then run the conversion again.</translation>
    </message>
    <message>
        <source>Tabelul %1 are un index de productie care lipseste din dosar, deci nu se stie daca foloseste coloana %2. Stergeti intai acest index in programul care foloseste tabelul, apoi reluati conversia.</source>
        <translation>Table %1 has a production index that is missing from the folder, so it is not known whether it uses column %2. First delete this index in the program that uses the table, then run the conversion again.</translation>
    </message>
</context>
<context>
    <name>DbfMemory</name>
    <message>
        <source>Valoarea &quot;%1&quot; nu este un numar.</source>
        <translation>The value &quot;%1&quot; is not a number.</translation>
    </message>
    <message>
        <source>Argument in afara limitelor.</source>
        <translation>Argument out of range.</translation>
    </message>
    <message>
        <source>Valoarea nu este un numar.</source>
        <translation>The value is not a number.</translation>
    </message>
    <message>
        <source>Memoria de lucru a furnizorului DBF nu poate fi deschisa.</source>
        <translation>The working memory of the DBF provider cannot be opened.</translation>
    </message>
</context>
<context>
    <name>DbfProvider</name>
    <message>
        <source>Comanda nu contine nicio instructiune SQL.</source>
        <translation>The command contains no SQL statement.</translation>
    </message>
    <message>
        <source>Comanda contine mai multe instructiuni SQL.</source>
        <translation>The command contains more than one SQL statement.</translation>
    </message>
    <message>
        <source>Furnizorul DBF ruleaza doar SELECT, UPDATE si ALTER TABLE ADD / DROP COLUMN.</source>
        <translation>The DBF provider runs only SELECT, UPDATE and ALTER TABLE ADD / DROP COLUMN.</translation>
    </message>
    <message>
        <source>Coloana %1 nu exista in tabelul %2.</source>
        <translation>Column %1 does not exist in table %2.</translation>
    </message>
    <message>
        <source>Operatia nu este permisa cand conexiunea este inchisa.</source>
        <translation>The operation is not allowed while the connection is closed.</translation>
    </message>
    <message>
        <source>Dosarul %1 nu exista.</source>
        <translation>Folder %1 does not exist.</translation>
    </message>
    <message>
        <source>Tabelul %1 nu exista.</source>
        <translation>Table %1 does not exist.</translation>
    </message>
    <message>
        <source>Tabelul %1 poate fi doar citit: Vamor nu il poate modifica.</source>
        <translation>Table %1 is read-only: Vamor cannot modify it.</translation>
    </message>
    <message>
        <source>Tipul de coloana &quot;%1&quot; nu este cunoscut.</source>
        <translation>Column type &quot;%1&quot; is not known.</translation>
    </message>
    <message>
        <source>Inregistrarile tabelului %1 nu mai corespund fisierului.</source>
        <translation>The records of table %1 no longer match the file.</translation>
    </message>
    <message>
        <source>Sirul de conectare nu numeste dosarul tabelelor DBF (Data Source).</source>
        <translation>The connection string does not name the folder of the DBF tables (Data Source).</translation>
    </message>
    <message>
        <source>Dosarul tabelelor DBF nu exista: %1</source>
        <translation>The folder of the DBF tables does not exist: %1</translation>
    </message>
</context>
<context>
    <name>DbfTableGuard</name>
    <message>
        <source>Tabelul &quot;%1&quot; a fost schimbat de alt program in timpul conversiei; nu a fost scris nimic.</source>
        <translation>Table &quot;%1&quot; was changed by another program during the conversion; nothing was written.</translation>
    </message>
    <message>
        <source>Tabelul &quot;%1&quot; este blocat de alt program; inchideti programul si reluati conversia.</source>
        <translation>Table &quot;%1&quot; is locked by another program; close that program and run the conversion again.</translation>
    </message>
    <message>
        <source>Tabelul &quot;%1&quot; este blocat de alt program (procesul %2); inchideti programul si reluati conversia.</source>
        <translation>Table &quot;%1&quot; is locked by another program (process %2); close that program and run the conversion again.</translation>
    </message>
    <message>
        <source>Tabelul &quot;%1&quot; este blocat de alt program (procesul %2, %3); inchideti programul si reluati conversia.</source>
        <translation>Table &quot;%1&quot; is locked by another program (process %2, %3); close that program and run the conversion again.</translation>
    </message>
    <message>
        <source>Tabelul &quot;%1&quot; este folosit de alt program; inchideti programul si reluati conversia.</source>
        <translation>Table &quot;%1&quot; is in use by another program; close that program and run the conversion again.</translation>
    </message>
    <message>
        <source>Tabelul &quot;%1&quot; este folosit de alt program (procesul %2); inchideti programul si reluati conversia.</source>
        <translation>Table &quot;%1&quot; is in use by another program (process %2); close that program and run the conversion again.</translation>
    </message>
    <message>
        <source>Tabelul &quot;%1&quot; este folosit de alt program (procesul %2, %3); inchideti programul si reluati conversia.</source>
        <translation>Table &quot;%1&quot; is in use by another program (process %2, %3); close that program and run the conversion again.</translation>
    </message>
    <message>
        <source>Blocarile tabelului &quot;%1&quot; nu pot fi verificate: %2</source>
        <translation>The locks of table &quot;%1&quot; cannot be checked: %2</translation>
    </message>
    <message>
        <source>Tabelul &quot;%1&quot; nu poate fi deschis pentru scriere: %2</source>
        <translation>Table &quot;%1&quot; cannot be opened for writing: %2</translation>
    </message>
    <message>
        <source>Tabelul &quot;%1&quot; nu poate fi blocat: %2</source>
        <translation>Table &quot;%1&quot; cannot be locked: %2</translation>
    </message>
    <message>
        <source>Tabelul %1 nu poate fi scris: %2</source>
        <translation>Table %1 cannot be written: %2</translation>
    </message>
</context>
<context>
    <name>DiscoverCommand</name>
    <message>
        <source>sursa de date nu are sir de conectare</source>
        <translation>the data source has no connection string</translation>
    </message>
    <message>
        <source>Sursa Date</source>
        <translation>Data Source</translation>
    </message>
    <message>
        <source>Tabel</source>
        <translation>Table</translation>
    </message>
    <message>
        <source>Camp</source>
        <translation>Field</translation>
    </message>
    <message>
        <source>Tip</source>
        <extracomment>The column&apos;s data type</extracomment>
        <translation>Type</translation>
    </message>
    <message>
        <source>Inregistrari</source>
        <extracomment>Number of rows of the table</extracomment>
        <translation>Records</translation>
    </message>
    <message>
        <source>Completate</source>
        <extracomment>Number of rows with a value in the column</extracomment>
        <translation>Filled</translation>
    </message>
    <message>
        <source>Minim</source>
        <translation>Minimum</translation>
    </message>
    <message>
        <source>Maxim</source>
        <translation>Maximum</translation>
    </message>
    <message>
        <source>Exemple</source>
        <translation>Examples</translation>
    </message>
    <message>
        <source>Propus</source>
        <extracomment>Whether the column is proposed as money; the same word as in the usage text</extracomment>
        <translation>Proposed</translation>
    </message>
    <message>
        <source>Stare</source>
        <translation>State</translation>
    </message>
    <message>
        <source>Dovezi</source>
        <extracomment>Evidence for and against the column holding money</extracomment>
        <translation>Evidence</translation>
    </message>
    <message>
        <source>coloana de restaurare</source>
        <translation>recovery column</translation>
    </message>
    <message>
        <source>in proiect</source>
        <translation>in project</translation>
    </message>
    <message>
        <source>da</source>
        <extracomment>Value of the &quot;Propus&quot; column: proposed; the same word as in the usage text</extracomment>
        <translation>yes</translation>
    </message>
    <message>
        <source>nu</source>
        <extracomment>Value of the &quot;Propus&quot; column: not proposed; the same word as in the usage text</extracomment>
        <translation>no</translation>
    </message>
    <message>
        <source>Utilizare:
  vamor --discover PROIECT.vmd [--source NUME] [--add]

Cauta sumele: citeste fiecare tabel al surselor de date ale proiectului (sau
doar al sursei NUME) si scrie, ca CSV, fiecare coloana numerica, cu dovezile
pentru si impotriva unei sume de bani si coloana &quot;Propus&quot; (da/nu). Baza de
date nu este schimbata.
  --add   adauga in proiect coloanele propuse (si tabelele lor), cu numele
          implicite ale coloanelor de restaurare, si salveaza proiectul

Cod de iesire: 0 toate tabelele au fost citite, 1 unele nu au putut fi citite
               (sunt numite), 2 argumente gresite sau proiectul nu poate fi deschis.
</source>
        <translation>Usage:
  vamor --discover PROJECT.vmd [--source NAME] [--add]

Look for amounts: read every table of the project&apos;s data sources (or only
those of data source NAME) and write, as CSV, every numeric column, with the
evidence for and against its holding money and a &quot;Proposed&quot; column (yes/no).
The database is not changed.
  --add   add the proposed columns (and their tables) to the project, with
          the default names of the recovery columns, and save the project

Exit code: 0 all tables were read, 1 some could not be read
           (they are named), 2 wrong arguments or the project cannot be opened.
</translation>
    </message>
    <message>
        <source>Lipseste valoarea optiunii %1.</source>
        <translation>Missing value for option %1.</translation>
    </message>
    <message>
        <source>Optiunea %1 este data de doua ori.</source>
        <translation>Option %1 is given twice.</translation>
    </message>
    <message>
        <source>Optiune necunoscuta: %1</source>
        <translation>Unknown option: %1</translation>
    </message>
    <message>
        <source>Argument neasteptat: %1</source>
        <translation>Unexpected argument: %1</translation>
    </message>
    <message>
        <source>Lipseste proiectul: --discover PROIECT.vmd</source>
        <translation>Missing project: --discover PROJECT.vmd</translation>
    </message>
    <message>
        <source>Sursele de date ale proiectului nu au putut fi citite: %1</source>
        <translation>The data sources of the project could not be read: %1</translation>
    </message>
    <message>
        <source>Proiectul nu are sursa de date &quot;%1&quot;.</source>
        <translation>The project has no data source &quot;%1&quot;.</translation>
    </message>
    <message>
        <source>Sursa de date &quot;%1&quot; nu a putut fi citita: %2</source>
        <translation>Data source &quot;%1&quot; could not be read: %2</translation>
    </message>
    <message>
        <source>Tabelul &quot;%1&quot; al sursei de date &quot;%2&quot; nu a putut fi citit: %3</source>
        <translation>Table &quot;%1&quot; of data source &quot;%2&quot; could not be read: %3</translation>
    </message>
    <message>
        <source>Campurile sursei de date &quot;%1&quot; nu au putut fi adaugate in proiect: %2</source>
        <translation>The fields of data source &quot;%1&quot; could not be added to the project: %2</translation>
    </message>
    <message numerus="yes">
        <source>Adaugate in proiect: %1 tabele, %n campuri.</source>
        <extracomment>%1 tables and %n fields added to the project</extracomment>
        <translation>
            <numerusform>Added to the project: %1 tables, %n field.</numerusform>
            <numerusform>Added to the project: %1 tables, %n fields.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>ErrorTrap</name>
    <message>
        <source>Eroare necunoscuta</source>
        <translation>Unknown error</translation>
    </message>
</context>
<context>
    <name>HistoryCommand</name>
    <message>
        <source>totaluri: vechi %1, noi %2, asteptat %3, diferenta %4</source>
        <extracomment>Control totals of a run or a field: the old sum, the new sum, the expected sum, the difference.</extracomment>
        <translation>totals: old %1, new %2, expected %3, difference %4</translation>
    </message>
    <message>
        <source>totaluri: vechi %1, restaurat %2</source>
        <extracomment>Control totals of a run or a field converted back: the old sum, the restored sum.</extracomment>
        <translation>totals: old %1, restored %2</translation>
    </message>
    <message>
        <source>Conversie</source>
        <translation>Conversion</translation>
    </message>
    <message>
        <source>Inceput</source>
        <translation>Start</translation>
    </message>
    <message>
        <source>Sfarsit</source>
        <translation>End</translation>
    </message>
    <message>
        <source>Utilizator</source>
        <translation>User</translation>
    </message>
    <message>
        <source>Calculator</source>
        <translation>Computer</translation>
    </message>
    <message>
        <source>Directie</source>
        <translation>Direction</translation>
    </message>
    <message>
        <source>Optiuni</source>
        <translation>Options</translation>
    </message>
    <message>
        <source>Stare conversie</source>
        <translation>Conversion state</translation>
    </message>
    <message>
        <source>Sursa Date</source>
        <translation>Data Source</translation>
    </message>
    <message>
        <source>Tabel</source>
        <translation>Table</translation>
    </message>
    <message>
        <source>Camp</source>
        <translation>Field</translation>
    </message>
    <message>
        <source>Inregistrari</source>
        <translation>Records</translation>
    </message>
    <message>
        <source>Stare inainte</source>
        <translation>State before</translation>
    </message>
    <message>
        <source>Stare dupa</source>
        <translation>State after</translation>
    </message>
    <message>
        <source>Eroare</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>Durata (ms)</source>
        <translation>Duration (ms)</translation>
    </message>
    <message>
        <source>Randuri</source>
        <translation>Rows</translation>
    </message>
    <message>
        <source>Suma veche</source>
        <translation>Old amount</translation>
    </message>
    <message>
        <source>Suma noua</source>
        <translation>New amount</translation>
    </message>
    <message>
        <source>Suma asteptata</source>
        <translation>Expected amount</translation>
    </message>
    <message>
        <source>Diferenta</source>
        <translation>Difference</translation>
    </message>
    <message>
        <source>Suma restaurata</source>
        <translation>Restored amount</translation>
    </message>
    <message>
        <source>Conditie</source>
        <translation>Condition</translation>
    </message>
    <message>
        <source>Observatii</source>
        <translation>Remarks</translation>
    </message>
    <message>
        <source>Utilizare:
  vamor --history PROIECT.vmd [--csv]

Listeaza conversiile inregistrate in proiect, de la cea mai veche: inceputul si
sfarsitul, utilizatorul si calculatorul, directia, campurile convertite si esuate,
apoi campurile fiecarei conversii cu totalurile lor de control. --csv scrie cate o
linie CSV pentru fiecare camp.

Cod de iesire: 0, sau 2 pentru argumente gresite sau un proiect care nu poate fi deschis.
</source>
        <extracomment>The option names (--history, --csv) stay as they are: the user types them.</extracomment>
        <translation>Usage:
  vamor --history PROJECT.vmd [--csv]

List the conversions recorded in the project, oldest first: the start and
end, the user and computer, the direction, the fields converted and failed,
then the fields of each conversion with their control totals. --csv writes one
CSV line for each field.

Exit code: 0, or 2 for wrong arguments or a project that cannot be opened.
</translation>
    </message>
    <message>
        <source>Optiunea %1 este data de doua ori.</source>
        <translation>Option %1 is given twice.</translation>
    </message>
    <message>
        <source>Lipseste valoarea optiunii %1.</source>
        <translation>Missing value for option %1.</translation>
    </message>
    <message>
        <source>Optiune necunoscuta: %1</source>
        <translation>Unknown option: %1</translation>
    </message>
    <message>
        <source>Argument neasteptat: %1</source>
        <translation>Unexpected argument: %1</translation>
    </message>
    <message>
        <source>Istoricul nu a putut fi citit: %1</source>
        <translation>The history could not be read: %1</translation>
    </message>
    <message>
        <source>Proiectul nu are nicio conversie inregistrata.</source>
        <translation>The project has no recorded conversion.</translation>
    </message>
    <message numerus="yes">
        <source>Conversia %1: %2 - %3, %4 pe %5, %6, %n campuri convertite, %7 esuate, %8%9%10</source>
        <translation>
            <numerusform>Conversion %1: %2 - %3, %4 on %5, %6, %n field converted, %7 failed, %8%9%10</numerusform>
            <numerusform>Conversion %1: %2 - %3, %4 on %5, %6, %n fields converted, %7 failed, %8%9%10</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%1 / %2 / %3: %n inregistrari</source>
        <extracomment>A field of a run: its data source, table and field, and the records converted.</extracomment>
        <translation>
            <numerusform>%1 / %2 / %3: %n record</numerusform>
            <numerusform>%1 / %2 / %3: %n records</numerusform>
        </translation>
    </message>
    <message>
        <source>eroare: %1</source>
        <translation>error: %1</translation>
    </message>
</context>
<context>
    <name>HistoryReport</name>
    <message>
        <source>Conversie intrerupta: programul s-a oprit inainte de sfarsitul ei</source>
        <translation>Conversion interrupted: the program stopped before it finished</translation>
    </message>
</context>
<context>
    <name>MessageBox</name>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Anulare</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Da</source>
        <translation>Yes</translation>
    </message>
    <message>
        <source>Nu</source>
        <translation>No</translation>
    </message>
</context>
<context>
    <name>MoneyRules</name>
    <message>
        <source>pentru: %1</source>
        <extracomment>Evidence for the column holding money, followed by its list</extracomment>
        <translation>for: %1</translation>
    </message>
    <message>
        <source>impotriva: %1</source>
        <extracomment>Evidence against the column holding money, followed by its list</extracomment>
        <translation>against: %1</translation>
    </message>
    <message>
        <source>tip %1</source>
        <extracomment>The column&apos;s data type as the database declares it (&quot;tip DECIMAL(15,2)&quot;)</extracomment>
        <translation>type %1</translation>
    </message>
    <message>
        <source>cheie primara</source>
        <translation>primary key</translation>
    </message>
    <message>
        <source>cheie straina</source>
        <translation>foreign key</translation>
    </message>
    <message>
        <source>are index</source>
        <translation>has an index</translation>
    </message>
    <message>
        <source>numele contine &apos;%1&apos;</source>
        <extracomment>%1 is a word of the column&apos;s name, kept as it is</extracomment>
        <translation>name contains &apos;%1&apos;</translation>
    </message>
    <message>
        <source>tabelul pare de sume (&apos;%1&apos;)</source>
        <extracomment>%1 is a word of the table&apos;s name, kept as it is</extracomment>
        <translation>table looks like amounts (&apos;%1&apos;)</translation>
    </message>
    <message>
        <source>nicio valoare in primele randuri</source>
        <translation>no value in the first rows</translation>
    </message>
    <message>
        <source>valori ca anii (1900-2100)</source>
        <translation>values like years (1900-2100)</translation>
    </message>
    <message numerus="yes">
        <source>valori mici, cu %n zecimale</source>
        <translation>
            <numerusform>small values, with %n decimal</numerusform>
            <numerusform>small values, with %n decimals</numerusform>
        </translation>
    </message>
    <message>
        <source>valori mici (sub 1000)</source>
        <translation>small values (under 1000)</translation>
    </message>
    <message>
        <source>valori multiplu de 100</source>
        <translation>values are multiples of 100</translation>
    </message>
    <message>
        <source>valori lungi, nerotunde (ca niste coduri)</source>
        <translation>long, non-round values (like codes)</translation>
    </message>
    <message>
        <source>valori mari (de la 10 000 in sus)</source>
        <translation>large values (10 000 and up)</translation>
    </message>
    <message numerus="yes">
        <source>valori cu %n zecimale</source>
        <translation>
            <numerusform>values with %n decimal</numerusform>
            <numerusform>values with %n decimals</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>OdbcProvider</name>
    <message>
        <source>Managerul de drivere ODBC nu a putut fi initializat.</source>
        <translation>The ODBC driver manager could not be initialized.</translation>
    </message>
    <message>
        <source>Driverul ODBC a refuzat conexiunea fara sa spuna de ce.</source>
        <translation>The ODBC driver refused the connection without saying why.</translation>
    </message>
    <message>
        <source>Driverul ODBC nu suporta tranzactii.</source>
        <translation>The ODBC driver does not support transactions.</translation>
    </message>
    <message>
        <source>O tranzactie este deja deschisa.</source>
        <translation>A transaction is already open.</translation>
    </message>
    <message>
        <source>Tranzactia nu a putut incepe.</source>
        <translation>The transaction could not be started.</translation>
    </message>
    <message>
        <source>Tranzactia nu a putut fi salvata.</source>
        <translation>The transaction could not be committed.</translation>
    </message>
    <message>
        <source>Tranzactia nu a putut fi anulata.</source>
        <translation>The transaction could not be rolled back.</translation>
    </message>
    <message>
        <source>Conexiunea a fost inchisa fara a salva tranzactia; baza de date o anuleaza.</source>
        <translation>The connection was closed without committing the transaction; the database rolls it back.</translation>
    </message>
    <message>
        <source>Operatia nu este permisa cand conexiunea este inchisa.</source>
        <translation>The operation is not allowed when the connection is closed.</translation>
    </message>
    <message>
        <source>Nu exista o tranzactie deschisa.</source>
        <translation>There is no open transaction.</translation>
    </message>
    <message>
        <source>Conexiunea a fost inchisa: driverul ODBC nu a revenit la salvarea automata a fiecarei instructiuni dupa tranzactie.</source>
        <translation>The connection was closed: the ODBC driver did not return to committing each statement automatically after the transaction.</translation>
    </message>
    <message>
        <source>Tabelul %1 nu exista.</source>
        <translation>Table %1 does not exist.</translation>
    </message>
    <message>
        <source>Coloana %1 nu exista in tabelul %2.</source>
        <translation>Column %1 does not exist in table %2.</translation>
    </message>
</context>
<context>
    <name>OdbcSupport</name>
    <message>
        <source>Apelul ODBC %1 a esuat (cod %2).</source>
        <translation>ODBC call %1 failed (code %2).</translation>
    </message>
    <message>
        <source>Nodul clusterului Galera prin care se conecteaza aceasta sursa de date este despartit de celelalte noduri (nu face parte din componenta principala a clusterului) si nu primeste comenzi; conversia se face printr-un nod legat de cluster.</source>
        <translation>The Galera cluster node this data source connects through is cut off from the other nodes (it is not part of the cluster&apos;s primary component) and accepts no commands; convert through a node that is joined to the cluster.</translation>
    </message>
    <message>
        <source>Tranzactia depaseste numarul de inregistrari pe care clusterul Galera il accepta intr-o singura tranzactie (variabila wsrep_max_ws_rows a serverului); nicio suma nu a fost schimbata. Administratorul bazei de date poate mari limita pe fiecare nod, de exemplu cu SET GLOBAL wsrep_max_ws_rows = 0 (fara limita) si in fisierul de configurare al serverului, sectiunea [galera]; apoi conversia se reia.</source>
        <translation>The transaction exceeds the number of rows the Galera cluster accepts in a single transaction (the server&apos;s wsrep_max_ws_rows variable); no amount was changed. The database administrator can raise the limit on every node, for example with SET GLOBAL wsrep_max_ws_rows = 0 (no limit) and in the server&apos;s configuration file, section [galera]; then run the conversion again.</translation>
    </message>
    <message>
        <source>Tranzactia depaseste marimea pe care clusterul Galera o accepta intr-o singura tranzactie (variabila wsrep_max_ws_size a serverului); nicio suma nu a fost schimbata. Administratorul bazei de date poate mari limita pe fiecare nod, pana la SET GLOBAL wsrep_max_ws_size = 2147483647 (2 GB), si in fisierul de configurare al serverului, sectiunea [galera]; apoi conversia se reia.</source>
        <translation>The transaction exceeds the size the Galera cluster accepts in a single transaction (the server&apos;s wsrep_max_ws_size variable); no amount was changed. The database administrator can raise the limit on every node, up to SET GLOBAL wsrep_max_ws_size = 2147483647 (2 GB), and in the server&apos;s configuration file, section [galera]; then run the conversion again.</translation>
    </message>
    <message>
        <source>Clusterul Galera a refuzat tranzactia: alt nod al clusterului a modificat in acelasi timp aceleasi inregistrari (conflict de certificare). Tranzactia a fost anulata si nicio suma nu a fost schimbata; conversia se poate relua.</source>
        <translation>The Galera cluster refused the transaction: another node of the cluster changed the same rows at the same time (a certification conflict). The transaction was rolled back and no amount was changed; the conversion can be run again.</translation>
    </message>
    <message>
        <source>Nodul clusterului Galera prin care se conecteaza aceasta sursa de date nu facea parte din componenta principala a clusterului cand tranzactia a fost trimisa celorlalte noduri (de exemplu, un alt nod tocmai se oprise). Tranzactia a fost anulata si nicio suma nu a fost schimbata; conversia se poate relua.</source>
        <translation>The Galera cluster node this data source connects through was not part of the cluster&apos;s primary component when the transaction was sent to the other nodes (for example, another node had just stopped). The transaction was rolled back and no amount was changed; the conversion can be run again.</translation>
    </message>
</context>
<context>
    <name>ProjectFile</name>
    <message>
        <source>Copia de lucru &quot;%1&quot; nu poate fi citita: %2</source>
        <translation>The working copy &quot;%1&quot; cannot be read: %2</translation>
    </message>
    <message>
        <source>&quot;%1&quot; este un director.</source>
        <translation>&quot;%1&quot; is a directory.</translation>
    </message>
    <message>
        <source>Fisierul &quot;%1&quot; nu poate fi scris: %2</source>
        <translation>The file &quot;%1&quot; cannot be written: %2</translation>
    </message>
    <message>
        <source>Tabelul tConfig al proiectului nu are niciun rand.</source>
        <translation>The project&apos;s tConfig table has no rows.</translation>
    </message>
</context>
<context>
    <name>ProjectHost</name>
    <message>
        <source>Nu este deschis niciun proiect.</source>
        <translation>No project is open.</translation>
    </message>
    <message>
        <source>Conexiunea la proiect nu este deschisa.</source>
        <translation>The connection to the project is not open.</translation>
    </message>
</context>
<context>
    <name>ProjectLock</name>
    <message>
        <source>necunoscut</source>
        <extracomment>Stands for the name of a program or of a computer that is not known.</extracomment>
        <translation>unknown</translation>
    </message>
    <message>
        <source>Proiectul &quot;%1&quot; este deschis de alt program: %2, procesul %3 de pe calculatorul %4.
Proiectul poate fi deschis dupa ce acel program il inchide.</source>
        <translation>The project &quot;%1&quot; is open in another program: %2, process %3 on computer %4.
The project can be opened once that program closes it.</translation>
    </message>
    <message>
        <source>Proiectul &quot;%1&quot; este deschis de alt program (fisierul &quot;%2&quot;).
Proiectul poate fi deschis dupa ce acel program il inchide.</source>
        <translation>The project &quot;%1&quot; is open in another program (file &quot;%2&quot;).
The project can be opened once that program closes it.</translation>
    </message>
    <message>
        <source>Proiectul &quot;%1&quot; nu poate fi rezervat pentru acest program: fisierul &quot;%2&quot; nu poate fi creat (folderul proiectului nu poate fi scris).</source>
        <translation>The project &quot;%1&quot; cannot be reserved for this program: the file &quot;%2&quot; cannot be created (the project folder is not writable).</translation>
    </message>
    <message>
        <source>Proiectul &quot;%1&quot; nu poate fi rezervat pentru acest program: fisierul &quot;%2&quot; nu poate fi creat (folderul proiectului nu exista sau nu poate fi folosit).</source>
        <translation>The project &quot;%1&quot; cannot be reserved for this program: the file &quot;%2&quot; cannot be created (the project folder does not exist or cannot be used).</translation>
    </message>
</context>
<context>
    <name>Recordset</name>
    <message>
        <source>Operatia nu este permisa cand obiectul este inchis.</source>
        <translation>The operation is not allowed when the object is closed.</translation>
    </message>
    <message>
        <source>Nu exista o inregistrare curenta.</source>
        <translation>There is no current record.</translation>
    </message>
    <message>
        <source>Elementul nu poate fi gasit in colectie.</source>
        <translation>The item cannot be found in the collection.</translation>
    </message>
    <message>
        <source>Campul &quot;%1&quot; nu poate fi gasit in colectie.</source>
        <translation>The field &quot;%1&quot; cannot be found in the collection.</translation>
    </message>
    <message>
        <source>Filtrul &quot;%1&quot; nu poate fi aplicat.</source>
        <translation>The filter &quot;%1&quot; cannot be applied.</translation>
    </message>
    <message>
        <source>Setul de inregistrari nu poate fi actualizat.</source>
        <translation>The recordset cannot be updated.</translation>
    </message>
</context>
<context>
    <name>RecoveryColumnFit</name>
    <message>
        <source>fara tip declarat</source>
        <translation>no declared type</translation>
    </message>
    <message>
        <source>Coloana de restaurare &quot;%1&quot; exista deja in tabel, cu tipul %2, care nu poate pastra exact sumele coloanei &quot;%3&quot; (%4); campul nu a fost convertit. Stergeti coloana de restaurare sau dati-i tipul coloanei campului, apoi reluati conversia.</source>
        <extracomment>%1 the recovery column, %2 its type, %3 the amount column, %4 its type</extracomment>
        <translation>The recovery column &quot;%1&quot; already exists in the table, with type %2, which cannot hold the amounts of column &quot;%3&quot; (%4) exactly; the field was not converted. Delete the recovery column or give it the type of the field&apos;s column, then run the conversion again.</translation>
    </message>
</context>
<context>
    <name>RecoveryField</name>
    <message>
        <source>Informatie lipsa in metadate</source>
        <translation>Information missing from the metadata</translation>
    </message>
    <message>
        <source>Nu poate fi folosit tipul %1</source>
        <extracomment>%1 is the name of a database type (&quot;Date&quot;, &quot;VarChar&quot;), kept as it is</extracomment>
        <translation>Type %1 cannot be used</translation>
    </message>
    <message>
        <source>Campul &quot;%1&quot; deja exista in tabel.</source>
        <translation>The field &quot;%1&quot; already exists in the table.</translation>
    </message>
</context>
<context>
    <name>ReportLog</name>
    <message numerus="yes">
        <source>Sursa de date &quot;%1&quot; sarita: %2; %n campuri neconvertite</source>
        <translation>
            <numerusform>Data source &quot;%1&quot; skipped: %2; %n field not converted</numerusform>
            <numerusform>Data source &quot;%1&quot; skipped: %2; %n fields not converted</numerusform>
        </translation>
    </message>
    <message>
        <source>Durata pe camp</source>
        <translation>Duration per field</translation>
    </message>
    <message>
        <source>Inceput Conversie: %1</source>
        <translation>Conversion Start: %1</translation>
    </message>
    <message>
        <source>Final Conversie: %1</source>
        <translation>Conversion End: %1</translation>
    </message>
    <message numerus="yes">
        <source>%n campuri din %1 convertite cu succes</source>
        <extracomment>%n: the fields converted; %1: the fields attempted.</extracomment>
        <translation>
            <numerusform>%n field of %1 converted successfully</numerusform>
            <numerusform>%n fields of %1 converted successfully</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n erori de conversie</source>
        <translation>
            <numerusform>%n conversion error</numerusform>
            <numerusform>%n conversion errors</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n inregistrari</source>
        <translation>
            <numerusform>%n record</numerusform>
            <numerusform>%n records</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n inregistrari (%1)</source>
        <translation>
            <numerusform>%n record (%1)</numerusform>
            <numerusform>%n records (%1)</numerusform>
        </translation>
    </message>
    <message>
        <source>Total sursa de date</source>
        <translation>Data source total</translation>
    </message>
    <message>
        <source>Total conversie</source>
        <translation>Conversion total</translation>
    </message>
    <message>
        <source>Totaluri de control</source>
        <translation>Control totals</translation>
    </message>
    <message>
        <source>Sursa Date</source>
        <translation>Data Source</translation>
    </message>
    <message>
        <source>Tabel</source>
        <translation>Table</translation>
    </message>
    <message>
        <source>Camp</source>
        <translation>Field</translation>
    </message>
    <message>
        <source>Fisierul &quot;%1&quot; nu poate fi scris: %2</source>
        <translation>The file &quot;%1&quot; cannot be written: %2</translation>
    </message>
</context>
<context>
    <name>ReportPrint</name>
    <message>
        <source>Pagina %1 din %2</source>
        <translation>Page %1 of %2</translation>
    </message>
    <message>
        <source>Raport conversie: %1</source>
        <translation>Conversion report: %1</translation>
    </message>
    <message>
        <source>Fisierul &quot;%1&quot; nu poate fi scris: %2</source>
        <translation>The file &quot;%1&quot; cannot be written: %2</translation>
    </message>
    <message>
        <source>ramas in %1</source>
        <extracomment>The state of a field the run could not convert: %1 is the currency&apos;s code, as &quot;ROL&quot;.</extracomment>
        <translation>left in %1</translation>
    </message>
    <message>
        <source>convertit in %1</source>
        <extracomment>The state of a converted field: %1 is the currency&apos;s code, as &quot;RON&quot;.</extracomment>
        <translation>converted to %1</translation>
    </message>
    <message>
        <source>Proiect: %1</source>
        <translation>Project: %1</translation>
    </message>
    <message>
        <source>Trecerea: %1 -&gt; %2 (1 %3 = %4 %5)</source>
        <extracomment>The currencies of the run, from and to, and the changeover&apos;s rate: &quot;ROL -&gt; RON (1 RON = 10000 ROL)&quot;.</extracomment>
        <translation>Changeover: %1 -&gt; %2 (1 %3 = %4 %5)</translation>
    </message>
    <message>
        <source>Utilizator: %1, calculator: %2</source>
        <translation>User: %1, computer: %2</translation>
    </message>
    <message>
        <source>Optiuni: %1</source>
        <translation>Options: %1</translation>
    </message>
    <message>
        <source>Campuri</source>
        <translation>Fields</translation>
    </message>
    <message>
        <source>Sursa Date</source>
        <translation>Data Source</translation>
    </message>
    <message>
        <source>Tabel</source>
        <translation>Table</translation>
    </message>
    <message>
        <source>Camp</source>
        <translation>Field</translation>
    </message>
    <message>
        <source>Inregistrari</source>
        <translation>Records</translation>
    </message>
    <message>
        <source>Stare</source>
        <translation>Status</translation>
    </message>
    <message>
        <source>Observatii / Eroare</source>
        <translation>Notes / Error</translation>
    </message>
    <message>
        <source>Totaluri de control</source>
        <translation>Control totals</translation>
    </message>
    <message>
        <source>Total</source>
        <extracomment>The row that sums the whole run.</extracomment>
        <translation>Total</translation>
    </message>
    <message>
        <source>Intocmit de (nume, functie):</source>
        <translation>Prepared by (name, position):</translation>
    </message>
    <message>
        <source>Semnatura:</source>
        <translation>Signature:</translation>
    </message>
    <message>
        <source>Data:</source>
        <extracomment>The date the report is signed on.</extracomment>
        <translation>Date:</translation>
    </message>
    <message>
        <source>Raportul nu poate fi desenat pe aceasta pagina.</source>
        <translation>The report cannot be drawn on this page.</translation>
    </message>
</context>
<context>
    <name>ReportView</name>
    <message>
        <source>Sursa Date</source>
        <translation>Data Source</translation>
    </message>
    <message>
        <source>Tabel</source>
        <translation>Table</translation>
    </message>
    <message>
        <source>Camp</source>
        <translation>Field</translation>
    </message>
    <message>
        <source>Numar Inregistrari</source>
        <translation>Record Count</translation>
    </message>
    <message>
        <source>Eroare</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>Observatii</source>
        <translation>Notes</translation>
    </message>
    <message>
        <source>Campuri</source>
        <translation>Fields</translation>
    </message>
    <message>
        <source>Totaluri de control</source>
        <translation>Control totals</translation>
    </message>
    <message>
        <source>Salveaza...</source>
        <translation>Save...</translation>
    </message>
    <message>
        <source>Salveaza PDF...</source>
        <translation>Save PDF...</translation>
    </message>
    <message>
        <source>Tipareste...</source>
        <translation>Print...</translation>
    </message>
    <message>
        <source>Inchide</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>Total</source>
        <extracomment>The row that sums the whole run.</extracomment>
        <translation>Total</translation>
    </message>
    <message>
        <source>Toate Fisierele</source>
        <translation>All Files</translation>
    </message>
    <message>
        <source>Salveaza raport conversie</source>
        <translation>Save conversion report</translation>
    </message>
    <message>
        <source>Fisiere Text</source>
        <translation>Text Files</translation>
    </message>
    <message>
        <source>Salveaza raport conversie ca PDF</source>
        <translation>Save conversion report as PDF</translation>
    </message>
    <message>
        <source>Fisiere PDF</source>
        <translation>PDF Files</translation>
    </message>
    <message>
        <source>Raport conversie</source>
        <translation>Conversion report</translation>
    </message>
    <message>
        <source>Tipareste raportul conversiei</source>
        <translation>Print the conversion report</translation>
    </message>
    <message>
        <source>Raportul nu a putut fi tiparit la &quot;%1&quot;.</source>
        <translation>The report could not be printed to &quot;%1&quot;.</translation>
    </message>
</context>
<context>
    <name>Rounding</name>
    <message>
        <source>Obisnuita: de la jumatate in sus</source>
        <extracomment>The usual rounding rule: halves away from zero</extracomment>
        <translation>Standard: half up</translation>
    </message>
    <message>
        <source>SUS: salarii, pensii (niciodata mai putin)</source>
        <extracomment>&quot;SUS&quot; is the rule&apos;s stored name, kept as it is</extracomment>
        <translation>SUS: salaries, pensions (never less)</translation>
    </message>
    <message>
        <source>Cand prima zecimala dupa cele pastrate nu este zero, ultima zecimala pastrata creste cu unu (departe de zero la sumele negative)</source>
        <translation>When the first decimal after the kept ones is not zero, the last kept decimal goes up by one (away from zero for negative amounts)</translation>
    </message>
    <message>
        <source>obisnuita</source>
        <extracomment>The usual rounding rule, as the table window lists a field&apos;s rule</extracomment>
        <translation>standard</translation>
    </message>
</context>
<context>
    <name>RunHistory</name>
    <message>
        <source>Istoricul nu poate fi scris in &quot;%1&quot;: %2</source>
        <translation>The history cannot be written to &quot;%1&quot;: %2</translation>
    </message>
    <message>
        <source>intrerupta</source>
        <extracomment>A run that ended without writing its end (killed, a power cut).</extracomment>
        <translation>interrupted</translation>
    </message>
    <message>
        <source>oprita de utilizator</source>
        <extracomment>A run the user stopped.</extracomment>
        <translation>stopped by the user</translation>
    </message>
    <message>
        <source>terminata</source>
        <extracomment>A run that ended by itself.</extracomment>
        <translation>finished</translation>
    </message>
    <message>
        <source>Istoricul conversiilor din &quot;%1&quot; nu a putut fi trecut in proiect: %2</source>
        <translation>The conversion history from &quot;%1&quot; could not be transferred to the project: %2</translation>
    </message>
</context>
<context>
    <name>SourceJob</name>
    <message>
        <source>Argumente gresite pentru conversia unei surse de date.</source>
        <translation>Wrong arguments for converting a data source.</translation>
    </message>
    <message>
        <source>sursa de date &quot;%1&quot;: %2</source>
        <translation>data source &quot;%1&quot;: %2</translation>
    </message>
</context>
<context>
    <name>SourceJobs</name>
    <message>
        <source>campuri %1/%2</source>
        <extracomment>Fields done of all in the progress line.</extracomment>
        <translation>fields %1/%2</translation>
    </message>
    <message>
        <source>campuri %1</source>
        <extracomment>Fields done in the progress line, when their total is not known.</extracomment>
        <translation>fields %1</translation>
    </message>
    <message>
        <source>Oprire ceruta: conversia se opreste dupa campul curent al fiecarei surse de date.</source>
        <translation>Stop requested: the conversion stops after the current field of each data source.</translation>
    </message>
    <message>
        <source>scurs %1</source>
        <extracomment>The time the run has taken so far.</extracomment>
        <translation>elapsed %1</translation>
    </message>
    <message>
        <source>ramas ~%1</source>
        <extracomment>An estimate of the time the run still needs.</extracomment>
        <translation>left ~%1</translation>
    </message>
    <message>
        <source>procesul care o converteste s-a oprit neasteptat</source>
        <extracomment>Why a data source was passed over; follows its name.</extracomment>
        <translation>the process converting it stopped unexpectedly</translation>
    </message>
    <message>
        <source>procesul care o converteste s-a oprit neasteptat (codul %1)</source>
        <translation>the process converting it stopped unexpectedly (code %1)</translation>
    </message>
    <message>
        <source>starea campurilor sursei de date &quot;%1&quot; nu a putut fi trecuta in proiect (ea va fi citita din nou din baza de date la urmatoarea rulare): %2</source>
        <translation>the state of the fields of data source &quot;%1&quot; could not be transferred to the project (it will be read again from the database on the next run): %2</translation>
    </message>
    <message>
        <source>copia proiectului pentru ea nu a putut fi facuta</source>
        <extracomment>Why a data source was passed over; follows its name.</extracomment>
        <translation>the copy of the project for it could not be made</translation>
    </message>
    <message>
        <source>programul nu a putut porni conversia ei: %1</source>
        <extracomment>Why a data source was passed over; %1 is the system&apos;s reason.</extracomment>
        <translation>the program could not start its conversion: %1</translation>
    </message>
</context>
<context>
    <name>SourceReader</name>
    <message>
        <source>fara tip declarat</source>
        <translation>no declared type</translation>
    </message>
</context>
<context>
    <name>SqlScan</name>
    <message>
        <source>Comanda contine mai multe instructiuni SQL; este permisa una singura.</source>
        <translation>The command contains more than one SQL statement; only one is allowed.</translation>
    </message>
    <message>
        <source>Comanda contine caractere care nu sunt text UTF-8 valid (afisate ca &quot;%1&quot;); corectati textul.</source>
        <translation>The command contains characters that are not valid UTF-8 text (shown as &quot;%1&quot;); correct the text.</translation>
    </message>
    <message>
        <source>Clauza WHERE contine caractere care nu sunt text UTF-8 valid (afisate ca &quot;%1&quot;); corectati textul.</source>
        <translation>The WHERE clause contains characters that are not valid UTF-8 text (shown as &quot;%1&quot;); correct the text.</translation>
    </message>
    <message>
        <source>Numele campului contine caractere care nu sunt text UTF-8 valid (afisate ca &quot;%1&quot;); corectati textul.</source>
        <translation>The field name contains characters that are not valid UTF-8 text (shown as &quot;%1&quot;); correct the text.</translation>
    </message>
    <message>
        <source>Numele tabelului contine caractere care nu sunt text UTF-8 valid (afisate ca &quot;%1&quot;); corectati textul.</source>
        <translation>The table name contains characters that are not valid UTF-8 text (shown as &quot;%1&quot;); correct the text.</translation>
    </message>
</context>
<context>
    <name>SqliteProvider</name>
    <message>
        <source>Inregistrarea nu mai exista in tabelul %1.</source>
        <translation>The record no longer exists in table %1.</translation>
    </message>
    <message>
        <source>Operatia nu este permisa cand conexiunea este inchisa.</source>
        <translation>The operation is not allowed when the connection is closed.</translation>
    </message>
    <message>
        <source>Inregistrarea nu poate fi actualizata: lipseste cheia tabelului %1.</source>
        <translation>The record cannot be updated: the key of table %1 is missing.</translation>
    </message>
    <message>
        <source>Comanda nu contine nicio instructiune SQL.</source>
        <translation>The command contains no SQL statement.</translation>
    </message>
    <message>
        <source>Tabelul %1 nu exista.</source>
        <translation>Table %1 does not exist.</translation>
    </message>
    <message>
        <source>Coloana %1 nu exista in tabelul %2.</source>
        <translation>Column %1 does not exist in table %2.</translation>
    </message>
    <message>
        <source>Conexiunea a fost inchisa, iar baza de date a anulat tranzactia: nimic din ea nu a fost salvat.</source>
        <translation>The connection was closed and the database rolled back the transaction: nothing in it was saved.</translation>
    </message>
    <message>
        <source>Fisierul bazei de date nu exista: %1</source>
        <translation>The database file does not exist: %1</translation>
    </message>
</context>
<context>
    <name>SqliteRateFunction</name>
    <message>
        <source>Valoarea &quot;%1&quot; nu este un numar.</source>
        <translation>The value &quot;%1&quot; is not a number.</translation>
    </message>
    <message>
        <source>Regula de rotunjire &quot;%1&quot; nu este cunoscuta.</source>
        <translation>The rounding rule &quot;%1&quot; is not known.</translation>
    </message>
    <message>
        <source>Cursul &quot;%1&quot; sau numarul de zecimale %2 nu pot fi folosite.</source>
        <translation>The rate &quot;%1&quot; or the number of decimal places %2 cannot be used.</translation>
    </message>
</context>
<context>
    <name>TableStateProbe</name>
    <message>
        <source>Tabelul &quot;%1&quot; nu a fost gasit in sursa de date &quot;%2&quot;; campul nu a fost convertit, iar starea lui inregistrata a ramas neschimbata.</source>
        <translation>The table &quot;%1&quot; was not found in the data source &quot;%2&quot;; the field was not converted and its recorded state was left unchanged.</translation>
    </message>
    <message>
        <source>Coloana &quot;%1&quot; nu a fost gasita in tabelul &quot;%2&quot; al sursei de date &quot;%3&quot;; campul nu a fost convertit, iar starea lui inregistrata a ramas neschimbata.</source>
        <translation>The column &quot;%1&quot; was not found in table &quot;%2&quot; of the data source &quot;%3&quot;; the field was not converted and its recorded state was left unchanged.</translation>
    </message>
</context>
<context>
    <name>TemplateTexts</name>
    <message>
        <source>Lei VECHI</source>
        <extracomment>The currency before the 2005 denomination of the leu.</extracomment>
        <translation>OLD lei</translation>
    </message>
    <message>
        <source>Lei NOI</source>
        <extracomment>The currency after the 2005 denomination of the leu.</extracomment>
        <translation>NEW lei</translation>
    </message>
    <message>
        <source>Leu romanesc: 10 000 lei vechi (ROL) = 1 leu nou (RON), denominarea din 1 iulie 2005</source>
        <translation>Romanian leu: 10,000 old lei (ROL) = 1 new leu (RON), the denomination of 1 July 2005</translation>
    </message>
    <message>
        <source>Lev bulgaresc in euro: 1 EUR = 1,95583 BGN, de la 1 ianuarie 2026</source>
        <translation>Bulgarian lev to euro: 1 EUR = 1.95583 BGN, from 1 January 2026</translation>
    </message>
    <message>
        <source>Kuna croata in euro: 1 EUR = 7,53450 HRK, de la 1 ianuarie 2023</source>
        <translation>Croatian kuna to euro: 1 EUR = 7.53450 HRK, from 1 January 2023</translation>
    </message>
    <message>
        <source>Oracle Data Server</source>
        <extracomment>A kind of data source.</extracomment>
        <translation>Oracle Data Server</translation>
    </message>
    <message>
        <source>FoxPro Free Table Directory</source>
        <extracomment>A kind of data source: a folder of dBASE/FoxPro tables.</extracomment>
        <translation>FoxPro Free Table Directory</translation>
    </message>
    <message>
        <source>Visual FoxPro Project</source>
        <extracomment>A kind of data source.</extracomment>
        <translation>Visual FoxPro Project</translation>
    </message>
    <message>
        <source>Unknown Data Source</source>
        <extracomment>A kind of data source: any other ODBC data source.</extracomment>
        <translation>Unknown Data Source</translation>
    </message>
</context>
<context>
    <name>TerminalOutput</name>
    <message>
        <source>Oprire ceruta: conversia se opreste dupa campul curent.</source>
        <translation>Stop requested: the conversion stops after the current field.</translation>
    </message>
    <message>
        <source>campuri %1/%2</source>
        <translation>fields %1/%2</translation>
    </message>
    <message>
        <source>campuri %1</source>
        <translation>fields %1</translation>
    </message>
    <message>
        <source>scurs %1</source>
        <extracomment>The time the run has taken so far.</extracomment>
        <translation>elapsed %1</translation>
    </message>
    <message>
        <source>ramas ~%1</source>
        <extracomment>An estimate of the time the run still needs.</extracomment>
        <translation>left ~%1</translation>
    </message>
    <message>
        <source>ramas &gt;%1</source>
        <extracomment>The least time the run still needs (the current field runs longer than the others took).</extracomment>
        <translation>left &gt;%1</translation>
    </message>
    <message>
        <source>%1 (in lucru)</source>
        <extracomment>A line written now and then while one field runs long: the progress line, then &quot;still working&quot;.</extracomment>
        <translation>%1 (working)</translation>
    </message>
</context>
<context>
    <name>Vamor</name>
    <message>
        <source>Programul cu ferestre are nevoie de un ecran (variabila DISPLAY nu este setata).
Conversia fara ferestre: vamor --convert PROIECT.vmd --to noi|vechi (vamor --help spune mai mult).</source>
        <translation>The windowed program needs a screen (the DISPLAY variable is not set).
Converting without windows: vamor --convert PROJECT.vmd --to noi|vechi (vamor --help says more).</translation>
    </message>
</context>
<context>
    <name>WaitDialog</name>
    <message>
        <source>%1 (%2 s)</source>
        <extracomment>The seconds waited so far, after what is waited for.</extracomment>
        <translation>%1 (%2 s)</translation>
    </message>
    <message>
        <source>Abandoneaza</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Se opreste...</source>
        <translation>Stopping...</translation>
    </message>
</context>
<context>
    <name>Waits</name>
    <message>
        <source>%1 s</source>
        <extracomment>A wait in seconds, as &quot;30 s&quot; or &quot;0,5 s&quot;.</extracomment>
        <translation>%1 s</translation>
    </message>
    <message>
        <source>,</source>
        <extracomment>The decimal separator of a wait in seconds, as in &quot;0,5 s&quot;.</extracomment>
        <translation>.</translation>
    </message>
    <message>
        <source>Tabelul &quot;%1&quot; este blocat de alt program; timpul de asteptare (%2) a expirat</source>
        <translation>The table &quot;%1&quot; is locked by another program; the wait time (%2) has expired</translation>
    </message>
</context>
<context>
    <name>WorkingCopy</name>
    <message>
        <source>Fisierul &quot;%1&quot; nu poate fi citit: este un director</source>
        <translation>The file &quot;%1&quot; cannot be read: it is a directory</translation>
    </message>
    <message>
        <source>Fisierul &quot;%1&quot; nu poate fi citit: %2</source>
        <translation>The file &quot;%1&quot; cannot be read: %2</translation>
    </message>
    <message>
        <source>Copia de lucru &quot;%1&quot; nu poate fi creata: fisierul &quot;%2&quot; nu poate fi scris in folderul programului.</source>
        <translation>The working copy &quot;%1&quot; cannot be created: the file &quot;%2&quot; cannot be written in the program&apos;s folder.</translation>
    </message>
    <message>
        <source>Copia de lucru &quot;%1&quot; nu poate fi creata: %2</source>
        <translation>The working copy &quot;%1&quot; cannot be created: %2</translation>
    </message>
    <message>
        <source>Fisierul &quot;%1&quot; nu poate fi copiat in &quot;%2&quot;: %3</source>
        <translation>The file &quot;%1&quot; cannot be copied to &quot;%2&quot;: %3</translation>
    </message>
    <message>
        <source>Copia de lucru &quot;%1&quot; nu poate fi creata.</source>
        <translation>The working copy &quot;%1&quot; cannot be created.</translation>
    </message>
</context>
<context>
    <name>ctlConnDetails</name>
    <message>
        <source>Microsoft Access</source>
        <translation>Microsoft Access</translation>
    </message>
    <message>
        <source>Microsoft SQL Server</source>
        <translation>Microsoft SQL Server</translation>
    </message>
    <message>
        <source>Oracle Data Server</source>
        <translation>Oracle Data Server</translation>
    </message>
    <message>
        <source>FoxPro Free Table Directory</source>
        <translation>FoxPro Free Table Directory</translation>
    </message>
    <message>
        <source>Visual FoxPro Project</source>
        <translation>Visual FoxPro Project</translation>
    </message>
    <message>
        <source>DBase</source>
        <translation>DBase</translation>
    </message>
    <message>
        <source>Unknown Data Source</source>
        <translation>Unknown Data Source</translation>
    </message>
    <message>
        <source>Cale spre fisier Microsoft Access (*.mdb)|*.mdb|Toate Fisierele (*.*)|*.*</source>
        <extracomment>A file filter: description|patterns pairs joined by &quot;|&quot;. Only the descriptions are translated.</extracomment>
        <translation>Microsoft Access file (*.mdb)|*.mdb|All Files (*.*)|*.*</translation>
    </message>
    <message>
        <source>Cale spre fisier de securitate Microsoft Access (*.mdw;*.mda)|*.mdw;*.mda|Toate Fisierele (*.*)|*.*</source>
        <extracomment>A file filter: description|patterns pairs joined by &quot;|&quot;. Only the descriptions are translated.</extracomment>
        <translation>Microsoft Access security file (*.mdw;*.mda)|*.mdw;*.mda|All Files (*.*)|*.*</translation>
    </message>
    <message>
        <source>Cale spre fisier DBase (*.dbf)|*.dbf|Toate Fisierele (*.*)|*.*</source>
        <extracomment>A file filter: description|patterns pairs joined by &quot;|&quot;. Only the descriptions are translated.</extracomment>
        <translation>DBase file (*.dbf)|*.dbf|All Files (*.*)|*.*</translation>
    </message>
    <message>
        <source>Cale spre fisierele FoxPro (*.dbf)|*.dbf|Toate Fisierele (*.*)|*.*</source>
        <extracomment>A file filter: description|patterns pairs joined by &quot;|&quot;. Only the descriptions are translated.</extracomment>
        <translation>FoxPro files (*.dbf)|*.dbf|All Files (*.*)|*.*</translation>
    </message>
    <message>
        <source>Baza de date securizata</source>
        <translation>Secured database</translation>
    </message>
    <message>
        <source>Baza de date:</source>
        <translation>Database:</translation>
    </message>
    <message>
        <source>Parola pe baza de date:</source>
        <translation>Database password:</translation>
    </message>
    <message>
        <source>Fisier Securitate:</source>
        <translation>Security File:</translation>
    </message>
    <message>
        <source>Utilizator:</source>
        <translation>User:</translation>
    </message>
    <message>
        <source>Parola:</source>
        <translation>Password:</translation>
    </message>
    <message>
        <source>Securitate Integrata</source>
        <translation>Integrated Security</translation>
    </message>
    <message>
        <source>Server:</source>
        <translation>Server:</translation>
    </message>
    <message>
        <source>Host:</source>
        <translation>Host:</translation>
    </message>
    <message>
        <source>Cale:</source>
        <translation>Path:</translation>
    </message>
    <message>
        <source>Calea:</source>
        <translation>Path:</translation>
    </message>
    <message>
        <source>String de conectare:</source>
        <translation>Connection string:</translation>
    </message>
    <message>
        <source>Elementul %1 al panourilor nu exista.</source>
        <translation>Panel item %1 does not exist.</translation>
    </message>
    <message>
        <source>Calea spre fisierul Microsoft Access nu este specificata</source>
        <translation>The path to the Microsoft Access file is not specified</translation>
    </message>
    <message>
        <source>Serverul Microsoft SQL Server nu este specificat</source>
        <translation>The Microsoft SQL Server server is not specified</translation>
    </message>
    <message>
        <source>Baza de date Microsoft SQL Server nu este specificata</source>
        <translation>The Microsoft SQL Server database is not specified</translation>
    </message>
    <message>
        <source>Utilizatorul de conectare nu este specificat</source>
        <translation>The login user is not specified</translation>
    </message>
    <message>
        <source>Hostul Oracle nu este specificat</source>
        <translation>The Oracle host is not specified</translation>
    </message>
    <message>
        <source>Parola de conectare nu este specificata</source>
        <translation>The login password is not specified</translation>
    </message>
    <message>
        <source>Calea &quot;%1&quot; nu contine un dosar.</source>
        <translation>The path &quot;%1&quot; does not contain a folder.</translation>
    </message>
</context>
<context>
    <name>frmAbout</name>
    <message>
        <source>Despre %1</source>
        <translation>About %1</translation>
    </message>
    <message>
        <source>Denominarea monedei nationale</source>
        <translation>National currency redenomination</translation>
    </message>
    <message>
        <source>Aplicatia este destinata conversiei bazelor de date care contin sume de bani din Lei VECHI in Lei NOI.</source>
        <translation>The application is intended for converting databases that contain money amounts from OLD lei to NEW lei.</translation>
    </message>
    <message>
        <source>Procesul de conversie se numeste DENOMINARE si a fost reglementat prin Legea nr. 348/2004.</source>
        <translation>The conversion process is called REDENOMINATION and was regulated by Law no. 348/2004.</translation>
    </message>
    <message>
        <source>Folosirea aplicatiei este gratuita.</source>
        <translation>The application is free to use.</translation>
    </message>
    <message>
        <source>Intrebari, sugestii si erori semnalate:</source>
        <translation>Questions, suggestions and bug reports:</translation>
    </message>
    <message>
        <source>Termene si Conditii</source>
        <translation>Terms and Conditions</translation>
    </message>
    <message>
        <source>Inchide</source>
        <translation>Close</translation>
    </message>
</context>
<context>
    <name>frmConn</name>
    <message>
        <source>Sursa de date</source>
        <translation>Data source</translation>
    </message>
    <message>
        <source>Tip:</source>
        <translation>Type:</translation>
    </message>
    <message>
        <source>Descriere:</source>
        <translation>Description:</translation>
    </message>
    <message>
        <source>Deconectat</source>
        <extracomment>The data source is not connected to (tick box and state).</extracomment>
        <translation>Offline</translation>
    </message>
    <message>
        <source>Cauta sume...</source>
        <translation>Find amounts...</translation>
    </message>
    <message>
        <source>Cauta in tabelele sursei de date coloanele care tin sume de bani</source>
        <translation>Search the data source&apos;s tables for columns that hold money amounts</translation>
    </message>
    <message>
        <source>Se asteapta serverul sursei de date &quot;%1&quot;</source>
        <translation>Waiting for the server of data source &quot;%1&quot;</translation>
    </message>
    <message>
        <source>Testul conexiunii a fost abandonat; sursa de date nu a fost verificata.</source>
        <translation>The connection test was cancelled; the data source was not checked.</translation>
    </message>
    <message>
        <source>Conectat
Vamor poate citi aceasta baza de date, dar nu poate scrie in ea (driverul ei este doar pentru citire): campurile ei nu pot fi convertite.</source>
        <translation>Connected
Vamor can read this database but cannot write to it (its driver is read-only): its fields cannot be converted.</translation>
    </message>
    <message>
        <source>Conectat</source>
        <translation>Connected</translation>
    </message>
</context>
<context>
    <name>frmConnAdd</name>
    <message>
        <source>Adauga Sursa de Date</source>
        <translation>Add Data Source</translation>
    </message>
    <message>
        <source>Descriere:</source>
        <translation>Description:</translation>
    </message>
    <message>
        <source>Lucreaza deconectat</source>
        <translation>Work offline</translation>
    </message>
    <message>
        <source>Inapoi</source>
        <translation>Back</translation>
    </message>
    <message>
        <source>Inainte</source>
        <translation>Next</translation>
    </message>
    <message>
        <source>Ok</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Abandoneaza</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Proiectul nu este deschis.</source>
        <translation>The project is not open.</translation>
    </message>
    <message>
        <source>Trebuie sa specificati descrierea conexiunii</source>
        <translation>You must specify the connection description</translation>
    </message>
    <message>
        <source>Trebuie sa alegeti tipul conexiunii</source>
        <translation>You must choose the connection type</translation>
    </message>
    <message>
        <source>Trebuie sa specificati calea spre un fisier Microsoft Access.</source>
        <translation>You must specify the path to a Microsoft Access file.</translation>
    </message>
    <message>
        <source>Trebuie sa specificati serverul Microsoft SQL Server.</source>
        <translation>You must specify the Microsoft SQL Server server.</translation>
    </message>
    <message>
        <source>Trebuie sa specificati baza de date Microsoft SQL Server.</source>
        <translation>You must specify the Microsoft SQL Server database.</translation>
    </message>
    <message>
        <source>Trebuie sa specificati utilizatorul de conectare.</source>
        <translation>You must specify the login user.</translation>
    </message>
    <message>
        <source>Trebuie sa specificati hostul Oracle.</source>
        <translation>You must specify the Oracle host.</translation>
    </message>
    <message>
        <source>Trebuie sa specificati parola de conectare.</source>
        <translation>You must specify the login password.</translation>
    </message>
</context>
<context>
    <name>frmConvertEnd</name>
    <message>
        <source>Raport Conversie</source>
        <translation>Conversion Report</translation>
    </message>
</context>
<context>
    <name>frmConvertStart</name>
    <message>
        <source>Confirmare Conversie</source>
        <translation>Confirm Conversion</translation>
    </message>
    <message>
        <source>Sursa Date</source>
        <translation>Data Source</translation>
    </message>
    <message>
        <source>Tabel</source>
        <translation>Table</translation>
    </message>
    <message>
        <source>Camp</source>
        <translation>Field</translation>
    </message>
    <message>
        <source>Observatii</source>
        <translation>Notes</translation>
    </message>
    <message>
        <source>Totaluri de control</source>
        <translation>Control totals</translation>
    </message>
    <message>
        <source>Baza de date aduna sumele inainte si dupa conversie, pentru fiecare camp (o citire in plus a randurilor)</source>
        <translation>The database adds up the amounts before and after the conversion, for each field (one extra read of the rows)</translation>
    </message>
    <message>
        <source>Ok</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Renunta</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Se opreste verificarea campurilor...</source>
        <translation>Stopping the field check...</translation>
    </message>
    <message>
        <source>Se asteapta %1</source>
        <translation>Waiting for %1</translation>
    </message>
    <message>
        <source>Verificarea campurilor a fost oprita.</source>
        <translation>The field check was stopped.</translation>
    </message>
</context>
<context>
    <name>frmDiscover</name>
    <message>
        <source>Cauta sume</source>
        <translation>Find amounts</translation>
    </message>
    <message>
        <source>Opreste</source>
        <translation>Stop</translation>
    </message>
    <message>
        <source>Filtru (tabel sau camp):</source>
        <translation>Filter (table or field):</translation>
    </message>
    <message>
        <source>Tabel</source>
        <translation>Table</translation>
    </message>
    <message>
        <source>Camp</source>
        <translation>Field</translation>
    </message>
    <message>
        <source>Tip</source>
        <extracomment>The column&apos;s data type</extracomment>
        <translation>Type</translation>
    </message>
    <message>
        <source>Inregistrari</source>
        <extracomment>Number of rows of the table</extracomment>
        <translation>Records</translation>
    </message>
    <message>
        <source>Completate</source>
        <extracomment>Number of rows with a value in the column</extracomment>
        <translation>Filled</translation>
    </message>
    <message>
        <source>Minim</source>
        <translation>Minimum</translation>
    </message>
    <message>
        <source>Maxim</source>
        <translation>Maximum</translation>
    </message>
    <message>
        <source>Exemple</source>
        <translation>Samples</translation>
    </message>
    <message>
        <source>Dovezi</source>
        <extracomment>Evidence for and against the column holding money</extracomment>
        <translation>Evidence</translation>
    </message>
    <message>
        <source>Ok</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Abandoneaza</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Se opreste citirea...</source>
        <translation>Stopping the reading...</translation>
    </message>
    <message>
        <source>Se citeste lista tabelelor...</source>
        <translation>Reading the list of tables...</translation>
    </message>
    <message>
        <source>Cauta sume - %1</source>
        <translation>Find amounts - %1</translation>
    </message>
    <message>
        <source>sursa de date nu are sir de conectare</source>
        <translation>the data source has no connection string</translation>
    </message>
    <message>
        <source>Se citeste tabelul %1 din %2: %3</source>
        <translation>Reading table %1 of %2: %3</translation>
    </message>
    <message>
        <source>Sursa de date nu a putut fi citita: %1</source>
        <translation>The data source could not be read: %1</translation>
    </message>
    <message>
        <source>Citirea a fost oprita: lista are doar tabelele citite pana atunci.</source>
        <translation>Reading was stopped: the list has only the tables read until then.</translation>
    </message>
    <message numerus="yes">
        <source>Citire terminata: %n tabele.</source>
        <translation>
            <numerusform>Reading finished: %n table.</numerusform>
            <numerusform>Reading finished: %n tables.</numerusform>
        </translation>
    </message>
    <message>
        <source>coloana de restaurare</source>
        <translation>recovery column</translation>
    </message>
    <message>
        <source>deja in proiect; %1</source>
        <translation>already in the project; %1</translation>
    </message>
    <message numerus="yes">
        <source>%n coloane numerice in %1 tabele; %2 propuse, %3 bifate.</source>
        <extracomment>%n numeric columns in %1 tables; %2 of them proposed, %3 ticked</extracomment>
        <translation>
            <numerusform>%n numeric column in %1 tables; %2 proposed, %3 checked.</numerusform>
            <numerusform>%n numeric columns in %1 tables; %2 proposed, %3 checked.</numerusform>
        </translation>
    </message>
    <message>
        <source>Tabele care nu au putut fi citite: %1.</source>
        <translation>Tables that could not be read: %1.</translation>
    </message>
</context>
<context>
    <name>frmField</name>
    <message>
        <source>Camp</source>
        <translation>Field</translation>
    </message>
    <message>
        <source>Nume Camp:</source>
        <translation>Field Name:</translation>
    </message>
    <message>
        <source>Clauza WHERE:</source>
        <translation>WHERE clause:</translation>
    </message>
    <message>
        <source>Rotunjire:</source>
        <translation>Rounding:</translation>
    </message>
    <message>
        <source>Ok</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Abandoneaza</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Campul nu mai exista in proiect.</source>
        <translation>The field no longer exists in the project.</translation>
    </message>
</context>
<context>
    <name>frmFieldAdd</name>
    <message>
        <source>Adauga Camp</source>
        <translation>Add Field</translation>
    </message>
    <message>
        <source>Lista Campuri:</source>
        <translation>Field List:</translation>
    </message>
    <message>
        <source>Nume Camp</source>
        <translation>Field Name</translation>
    </message>
    <message>
        <source>Nume Camp:</source>
        <translation>Field Name:</translation>
    </message>
    <message>
        <source>Rotunjire:</source>
        <translation>Rounding:</translation>
    </message>
    <message>
        <source>Se citesc coloanele tabelului &quot;%1&quot;</source>
        <translation>Reading the columns of table &quot;%1&quot;</translation>
    </message>
    <message>
        <source>Trebuie sa specificati numele campului</source>
        <translation>You must specify the field name</translation>
    </message>
    <message>
        <source>Campul este deja adaugat la tabelul curent.</source>
        <translation>The field is already added to the current table.</translation>
    </message>
    <message>
        <source>Trebuie sa selectati un camp din lista</source>
        <translation>You must select a field from the list</translation>
    </message>
    <message>
        <source>Se verifica tipul campului &quot;%1&quot;</source>
        <translation>Checking the type of field &quot;%1&quot;</translation>
    </message>
    <message>
        <source>Campul %1 nu se poate adauga din cauza urmatoarei erori:<byte value="xd"/>
%2<byte value="xd"/>
<byte value="xd"/>
Doriti sa continuati?</source>
        <translation>Field %1 cannot be added because of the following error:<byte value="xd"/>
%2<byte value="xd"/>
<byte value="xd"/>
Do you want to continue?</translation>
    </message>
    <message>
        <source>Campul %1 este deja adaugat la tabelul curent.<byte value="xd"/>
<byte value="xd"/>
Doriti sa continuati?</source>
        <translation>Field %1 is already added to the current table.<byte value="xd"/>
<byte value="xd"/>
Do you want to continue?</translation>
    </message>
</context>
<context>
    <name>frmHelp</name>
    <message>
        <source>Vamor - Ajutor</source>
        <translation>Vamor - Help</translation>
    </message>
    <message>
        <source>Inapoi</source>
        <translation>Back</translation>
    </message>
    <message>
        <source>Inainte</source>
        <translation>Forward</translation>
    </message>
    <message>
        <source>Cuprins</source>
        <translation>Contents</translation>
    </message>
    <message>
        <source>Cauta cuvantul:</source>
        <translation>Search for word:</translation>
    </message>
    <message>
        <source>Index</source>
        <translation>Index</translation>
    </message>
    <message>
        <source>Vamor - Ajutor - %1</source>
        <translation>Vamor - Help - %1</translation>
    </message>
    <message>
        <source> (paginile in limba engleza)</source>
        <translation> (pages in English)</translation>
    </message>
</context>
<context>
    <name>frmHistory</name>
    <message>
        <source>Istoric conversii</source>
        <translation>Conversion history</translation>
    </message>
    <message>
        <source>Nr.</source>
        <translation>No.</translation>
    </message>
    <message>
        <source>Inceput</source>
        <translation>Start</translation>
    </message>
    <message>
        <source>Sfarsit</source>
        <translation>End</translation>
    </message>
    <message>
        <source>Utilizator</source>
        <translation>User</translation>
    </message>
    <message>
        <source>Calculator</source>
        <translation>Computer</translation>
    </message>
    <message>
        <source>Directie</source>
        <translation>Direction</translation>
    </message>
    <message>
        <source>Convertite</source>
        <extracomment>Column: how many fields the run converted.</extracomment>
        <translation>Converted</translation>
    </message>
    <message>
        <source>Esuate</source>
        <extracomment>Column: how many fields failed to convert.</extracomment>
        <translation>Failed</translation>
    </message>
    <message>
        <source>Stare</source>
        <translation>Status</translation>
    </message>
    <message>
        <source>Optiuni</source>
        <translation>Options</translation>
    </message>
    <message>
        <source>Proiectul nu are nicio conversie inregistrata.</source>
        <translation>The project has no recorded conversions.</translation>
    </message>
</context>
<context>
    <name>frmMain</name>
    <message>
        <source>Nou</source>
        <translation>New</translation>
    </message>
    <message>
        <source>Proiect Nou</source>
        <translation>New Project</translation>
    </message>
    <message>
        <source>Deschide</source>
        <translation>Open</translation>
    </message>
    <message>
        <source>Deschide Proiect</source>
        <translation>Open Project</translation>
    </message>
    <message>
        <source>Salveaza</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>Salveaza Proiectul</source>
        <translation>Save Project</translation>
    </message>
    <message>
        <source>Adauga</source>
        <translation>Add</translation>
    </message>
    <message>
        <source>Adauga Sursa de Date</source>
        <translation>Add Data Source</translation>
    </message>
    <message>
        <source>Sterge</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>Sterge Sursa de Date</source>
        <translation>Delete Data Source</translation>
    </message>
    <message>
        <source>Adauga Tabel</source>
        <translation>Add Table</translation>
    </message>
    <message>
        <source>Sterge Tabel</source>
        <translation>Delete Table</translation>
    </message>
    <message>
        <source>Adauga Camp</source>
        <translation>Add Field</translation>
    </message>
    <message>
        <source>Sterge Camp</source>
        <translation>Delete Field</translation>
    </message>
    <message>
        <source>Lei NOI</source>
        <extracomment>The currency after the changeover, on the button that converts to it.</extracomment>
        <translation>NEW lei</translation>
    </message>
    <message>
        <source>Converteste la lei NOI</source>
        <translation>Convert to NEW lei</translation>
    </message>
    <message>
        <source>Lei VECHI</source>
        <extracomment>The currency before the changeover, on the button that converts back to it.</extracomment>
        <translation>OLD lei</translation>
    </message>
    <message>
        <source>Converteste la lei VECHI</source>
        <translation>Convert to OLD lei</translation>
    </message>
    <message>
        <source>Fisier</source>
        <translation>File</translation>
    </message>
    <message>
        <source>Istoric conversii...</source>
        <translation>Conversion history...</translation>
    </message>
    <message>
        <source>Inchide</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>Proiect</source>
        <translation>Project</translation>
    </message>
    <message>
        <source>Cauta sume...</source>
        <translation>Find amounts...</translation>
    </message>
    <message>
        <source>Ajutor</source>
        <translation>Help</translation>
    </message>
    <message>
        <source>Continut</source>
        <translation>Contents</translation>
    </message>
    <message>
        <source>Index</source>
        <translation>Index</translation>
    </message>
    <message>
        <source>Termene si Conditii</source>
        <translation>Terms and Conditions</translation>
    </message>
    <message>
        <source>Despre</source>
        <translation>About</translation>
    </message>
    <message>
        <source>Proiectul a fost salvat in formatul versiunii %1, pe care acest program nu il cunoaste (cunoaste doar versiunea 1.0).
Proiectul nu poate fi deschis.</source>
        <translation>The project was saved in the format of version %1, which this program does not know (it knows only version 1.0).
The project cannot be opened.</translation>
    </message>
    <message>
        <source>Proiectul curent a fost modificat.
Doriti sa salvati?</source>
        <translation>The current project has been modified.
Do you want to save it?</translation>
    </message>
    <message>
        <source>Nodul &quot;%1&quot; nu exista in arbore.</source>
        <translation>The node &quot;%1&quot; does not exist in the tree.</translation>
    </message>
    <message numerus="yes">
        <source>Sursa de date selectata contine %n tabele.
Daca sursa de date va fi stearsa, tabelele impreuna cu campurile lor vor fi deasemenea sterse.

Sunteti sigur ca doriti sa stergeti sursa de date?</source>
        <translation>
            <numerusform>The selected data source contains %n table.
If the data source is deleted, the table and its fields will also be deleted.

Are you sure you want to delete the data source?</numerusform>
            <numerusform>The selected data source contains %n tables.
If the data source is deleted, the tables and their fields will also be deleted.

Are you sure you want to delete the data source?</numerusform>
        </translation>
    </message>
    <message>
        <source>Limba</source>
        <translation>Language</translation>
    </message>
    <message>
        <source>Limba sistemului</source>
        <translation>System language</translation>
    </message>
    <message>
        <source>Variabila VAMOR_LANG din mediu alege limba inaintea acestui meniu; alegerea facuta aici se aplica atunci cand ea lipseste.</source>
        <translation>The VAMOR_LANG environment variable chooses the language before this menu does; the choice made here applies when the variable is not set.</translation>
    </message>
    <message>
        <source>Programul va folosi limba aleasa de la urmatoarea pornire.</source>
        <translation>The program will use the chosen language from the next start.</translation>
    </message>
    <message>
        <source>Copia de lucru &quot;%1&quot; din %2 a ramas de la o rulare Vamor care nu s-a inchis normal.
Doriti sa o deschideti ca proiect nou, nesalvat?

Da - o deschide, Nu - o sterge, Anulare - o lasa asa.</source>
        <extracomment>&quot;Da&quot;, &quot;Nu&quot; and &quot;Anulare&quot; are the question&apos;s buttons.</extracomment>
        <translation>The working copy &quot;%1&quot; in %2 was left behind by a Vamor run that did not close normally.
Do you want to open it as a new, unsaved project?

Yes - open it, No - delete it, Cancel - leave it as it is.</translation>
    </message>
    <message>
        <source>Converteste la %1</source>
        <translation>Convert to %1</translation>
    </message>
    <message>
        <source>%1 File</source>
        <extracomment>The file dialog&apos;s title; %1 is the program&apos;s name.</extracomment>
        <translation>%1 File</translation>
    </message>
    <message>
        <source>Vamor Files (*.vmd)</source>
        <translation>Vamor Files (*.vmd)</translation>
    </message>
    <message>
        <source>All Files (*.*)</source>
        <translation>All Files (*.*)</translation>
    </message>
</context>
<context>
    <name>frmProgress</name>
    <message>
        <source>Progres</source>
        <translation>Progress</translation>
    </message>
    <message>
        <source>Sursa de Date:</source>
        <translation>Data Source:</translation>
    </message>
    <message>
        <source>Tabel:</source>
        <translation>Table:</translation>
    </message>
    <message>
        <source>Camp:</source>
        <translation>Field:</translation>
    </message>
    <message>
        <source>Stop</source>
        <extracomment>Button that stops the running conversion.</extracomment>
        <translation>Stop</translation>
    </message>
    <message>
        <source>Se asteapta baza de date</source>
        <translation>Waiting for the database</translation>
    </message>
    <message>
        <source>Valoare in afara domeniului barei de progres</source>
        <translation>Value outside the range of the progress bar</translation>
    </message>
    <message>
        <source>Sunteti sigur ca doriti sa opriti procesul de conversie?</source>
        <translation>Are you sure you want to stop the conversion process?</translation>
    </message>
    <message>
        <source>Stopping</source>
        <extracomment>The Stop button&apos;s caption once the user asked to stop.</extracomment>
        <translation>Stopping</translation>
    </message>
    <message>
        <source>Fereastra parinte lipseste</source>
        <translation>The parent window is missing</translation>
    </message>
    <message>
        <source>Metoda %1 nu exista</source>
        <translation>Method %1 does not exist</translation>
    </message>
</context>
<context>
    <name>frmStart</name>
    <message>
        <source>File name</source>
        <translation>File name</translation>
    </message>
    <message>
        <source>File</source>
        <translation>File</translation>
    </message>
    <message>
        <source>Folder</source>
        <translation>Folder</translation>
    </message>
    <message>
        <source>Deschide</source>
        <translation>Open</translation>
    </message>
    <message>
        <source>Abandoneaza</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Proiect %1</source>
        <translation>%1 Project</translation>
    </message>
    <message>
        <source>Nou</source>
        <translation>New</translation>
    </message>
    <message>
        <source>Existent</source>
        <translation>Existing</translation>
    </message>
    <message>
        <source>Recent</source>
        <translation>Recent</translation>
    </message>
    <message>
        <source>Proiect Nou</source>
        <translation>New Project</translation>
    </message>
    <message>
        <source>Deschide Proiect</source>
        <translation>Open Project</translation>
    </message>
    <message>
        <source>Deschide Proiect Recent</source>
        <translation>Open Recent Project</translation>
    </message>
    <message>
        <source>Trebuie sa specificati un fisier existent.</source>
        <translation>You must specify an existing file.</translation>
    </message>
    <message>
        <source>Trebuie sa selectati un fisier din lista de fisiere recente.</source>
        <translation>You must select a file from the list of recent files.</translation>
    </message>
    <message>
        <source>%1 File</source>
        <extracomment>The file dialog&apos;s title; %1 is the program&apos;s name.</extracomment>
        <translation>%1 File</translation>
    </message>
    <message>
        <source>Vamor Files (*.vmd)</source>
        <translation>Vamor Files (*.vmd)</translation>
    </message>
    <message>
        <source>All Files (*.*)</source>
        <translation>All Files (*.*)</translation>
    </message>
</context>
<context>
    <name>frmTable</name>
    <message>
        <source>Nume Tabel:</source>
        <translation>Table Name:</translation>
    </message>
    <message>
        <source>Clauza WHERE:</source>
        <translation>WHERE clause:</translation>
    </message>
    <message>
        <source>Nume Camp</source>
        <translation>Field Name</translation>
    </message>
    <message>
        <source>Stare</source>
        <extracomment>Whether the field&apos;s amounts are in old or new currency</extracomment>
        <translation>Status</translation>
    </message>
    <message>
        <source>Camp de restaurare</source>
        <translation>Recovery column</translation>
    </message>
    <message>
        <source>Ultima Eroare</source>
        <translation>Last Error</translation>
    </message>
    <message>
        <source>Clauza WHERE</source>
        <translation>WHERE clause</translation>
    </message>
    <message>
        <source>Rotunjire</source>
        <translation>Rounding</translation>
    </message>
    <message>
        <source>Campul cu cheia %1 este deja in lista.</source>
        <translation>The field with key %1 is already in the list.</translation>
    </message>
    <message>
        <source>Campul &quot;%1&quot; va fi sters.<byte value="xd"/>
Doriti sa stergeti si campul suplimentar &quot;%2&quot;?</source>
        <translation>The field &quot;%1&quot; will be deleted.<byte value="xd"/>
Do you also want to delete the additional field &quot;%2&quot;?</translation>
    </message>
    <message>
        <source>Se sterge campul de restaurare &quot;%1&quot;</source>
        <translation>Deleting the recovery column &quot;%1&quot;</translation>
    </message>
    <message>
        <source>Campul de restaurare nu a putut fi sters din cauza urmatoarei erori:<byte value="xd"/>
%1<byte value="xd"/>
<byte value="xd"/>
Doriti sa continuati?</source>
        <translation>The recovery column could not be deleted because of the following error:<byte value="xd"/>
%1<byte value="xd"/>
<byte value="xd"/>
Do you want to continue?</translation>
    </message>
</context>
<context>
    <name>frmTableAdd</name>
    <message>
        <source>Numai tabelele utilizatorului curent</source>
        <translation>Only the current user&apos;s tables</translation>
    </message>
    <message>
        <source>Numai fisierele cu extensia .dbf</source>
        <translation>Only files with the .dbf extension</translation>
    </message>
    <message>
        <source>Adauga Tabel</source>
        <translation>Add Table</translation>
    </message>
    <message>
        <source>Lista Tabele:</source>
        <translation>Table List:</translation>
    </message>
    <message>
        <source>Nume Tabel</source>
        <translation>Table Name</translation>
    </message>
    <message>
        <source>Proprietar</source>
        <extracomment>The schema (owner) of the table</extracomment>
        <translation>Owner</translation>
    </message>
    <message>
        <source>Nume Tabel:</source>
        <translation>Table Name:</translation>
    </message>
    <message>
        <source>Se citesc tabelele sursei de date</source>
        <translation>Reading the data source&apos;s tables</translation>
    </message>
    <message>
        <source>Tabelul &quot;%1&quot; apare de doua ori in lista tabelelor sursei de date.</source>
        <translation>The table &quot;%1&quot; appears twice in the data source&apos;s list of tables.</translation>
    </message>
    <message>
        <source>Trebuie sa specificati numele tabelului</source>
        <translation>You must specify the table name</translation>
    </message>
    <message>
        <source>Trebuie sa selectati un tabel din lista</source>
        <translation>You must select a table from the list</translation>
    </message>
    <message>
        <source>Tabelul este deja adaugat la conexiunea curenta.</source>
        <translation>The table is already added to the current connection.</translation>
    </message>
</context>
<context>
    <name>frmTerms</name>
    <message>
        <source>Termene si Conditii de Utilizare</source>
        <translation>Terms and Conditions of Use</translation>
    </message>
    <message>
        <source>Ok</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>TERMENE SI CONDITII DE UTILIZARE

1. Folosirea aplicatiei
Vamor poate fi folosit gratuit, de persoane fizice si de firme, pentru a converti sumele de bani din propriile baze de date din lei vechi in lei noi si inapoi, conform Legii nr. 348/2004 privind denominarea monedei nationale.

2. Raspunderea utilizatorului
Aplicatia modifica datele din bazele de date pe care i le indicati. Inainte de orice conversie faceti o copie de siguranta a fiecarei baze de date din proiect si a fisierului proiectului. Verificati raportul conversiei si cateva sume din fiecare tabel dupa fiecare rulare.

3. Ce garanteaza aplicatia
Pentru fiecare camp convertit, aplicatia pastreaza sumele initiale intr-o coloana de restaurare adaugata tabelului si le poate pune inapoi prin conversia in lei vechi. Fiecare camp este convertit intr-o singura tranzactie: un camp care nu poate fi convertit ramane asa cum era.

4. Limitarea raspunderii
Aplicatia este oferita &quot;asa cum este&quot;, fara nicio garantie, expresa sau implicita, inclusiv fara garantia potrivirii pentru un anumit scop. Autorii nu raspund pentru pierderi de date, pierderi financiare sau alte pagube rezultate din folosirea ori din imposibilitatea folosirii aplicatiei.

5. Date personale
Aplicatia nu trimite nicio informatie in afara calculatorului dumneavoastra. Parolele surselor de date sunt pastrate in fisierul proiectului; un fisier de proiect nou poate fi citit doar de utilizatorul care l-a creat. Pastrati fisierele proiectelor in locuri sigure.

6. Acceptare
Folosind aplicatia declarati ca ati citit si ca acceptati aceste termene si conditii.
</source>
        <translation>TERMS AND CONDITIONS OF USE

1. Use of the application
Vamor may be used free of charge, by individuals and by companies, to convert the money amounts in their own databases from old lei to new lei and back, in accordance with Law no. 348/2004 on the redenomination of the national currency.

2. The user&apos;s responsibility
The application modifies the data in the databases you point it to. Before any conversion, make a backup copy of every database in the project and of the project file. Check the conversion report and a few amounts in each table after every run.

3. What the application guarantees
For every converted field, the application keeps the original amounts in a recovery column added to the table and can put them back by converting to old lei. Each field is converted in a single transaction: a field that cannot be converted stays as it was.

4. Limitation of liability
The application is provided &quot;as is&quot;, without any warranty, express or implied, including without the warranty of fitness for a particular purpose. The authors are not liable for loss of data, financial loss or other damage resulting from the use of, or the inability to use, the application.

5. Personal data
The application does not send any information outside your computer. The passwords of the data sources are kept in the project file; a new project file can be read only by the user who created it. Keep project files in safe places.

6. Acceptance
By using the application you declare that you have read and that you accept these terms and conditions.
</translation>
    </message>
</context>
</TS>
