<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="bg" sourcelanguage="ro">
<context>
    <name>AddDialog</name>
    <message>
        <source>Refresh</source>
        <translation>Обнови</translation>
    </message>
    <message>
        <source>Ok</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Abandoneaza</source>
        <translation>Отказ</translation>
    </message>
    <message>
        <source>Citirea listei a fost abandonata.</source>
        <translation>Четенето на списъка беше прекратено.</translation>
    </message>
</context>
<context>
    <name>AppVersion</name>
    <message>
        <source>Conversia sumelor din bazele de date din lei vechi in lei noi si inapoi</source>
        <translation>Конвертиране на сумите в базите данни от стари леи в нови леи и обратно</translation>
    </message>
</context>
<context>
    <name>Changeover</name>
    <message>
        <source>Cursul de schimb din proiect (&quot;%1&quot;) nu este un numar zecimal pozitiv.</source>
        <translation>Обменният курс в проекта (&quot;%1&quot;) не е положително десетично число.</translation>
    </message>
    <message>
        <source>Regula de rotunjire din proiect (&quot;%1&quot;) nu este cunoscuta.</source>
        <translation>Правилото за закръгляване в проекта (&quot;%1&quot;) не е известно.</translation>
    </message>
    <message>
        <source>Conversie din %1 in %2</source>
        <extracomment>%1 is the currency the amounts leave, %2 the one they reach.</extracomment>
        <translation>Конвертиране от %1 в %2</translation>
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
        <translation>Употреба:
  vamor --convert ПРОЕКТ.vmd --to noi|vechi|КОД [--yes] [--report ФАЙЛ] [--list]
        [--reconnect] [--no-totals] [--lock-timeout СЕКУНДИ] [--jobs N]
  vamor --discover ПРОЕКТ.vmd [--source ИМЕ] [--add]
        (търси колони със суми в източниците на данни; vamor --discover --help)
  vamor --history ПРОЕКТ.vmd [--csv]
        (конвертиранията, записани в проекта; vamor --history --help)
  vamor --help

Конвертира сумите в базите данни, описани в проекта, без прозорци:
  --to noi      от СТАРИ леи в НОВИ леи (10 000 стари леи = 1 нов лей)
  --to vechi    обратно, от НОВИ леи в СТАРИ леи
                (при проект за друга смяна на валутата, например BGN в EUR:
                noi = към новата валута, vechi = обратно към старата)
  --to КОД      кодът на валутата, в която се конвертира, според проекта: RON
                или ROL, EUR или BGN, EUR или HRK
  --yes         не пита &quot;Продължавате ли? (д/н)&quot;
  --report F    записва отчета за конвертирането във файла F (PDF при разширение .pdf)
  --reconnect   опитва отново източниците на данни, маркирани &quot;Без връзка&quot;
  --no-totals   без контролни суми (сумите преди и след конвертирането,
                изчислени от базата данни; по подразбиране се изчисляват)
  --lock-timeout S
                колко най-много да чака, в секунди, таблица, заключена от друга
                програма; полето ѝ не се конвертира, а конвертирането продължава
                със следващото (по подразбиране LockTimeout от низа за връзка
                на източника, иначе 30; 0 не чака изобщо; най-много 600)
  --jobs N      конвертира най-много N източника на данни едновременно, всеки
                със собствена връзка; полетата на един източник остават в реда
                на проекта (по подразбиране 1; 0 = по един на процесор)
  --list        само изброява полетата, които ще бъдат конвертирани (състоянието
                им се опреснява и проектът се записва); не конвертира нищо

Проектът се отваря чрез работно копие в папката на програмата
(при инсталирана програма в ~/.local/share/Vamor; в папката, зададена от
променливата VAMOR_HOME, когато тя съществува) и се записва накрая.

Без опции vamor ПРОЕКТ.vmd отваря проекта в прозореца на програмата.

Изходен код: 0 всички опитани полета са конвертирани,
             1 поне едно поле не можа да бъде конвертирано, беше пропуснато,
               възстановена сума се различава от старата
               или конвертирането беше спряно (Ctrl+C),
             2 грешни аргументи или проектът не може да бъде отворен.
</translation>
    </message>
    <message>
        <source>Lipseste valoarea optiunii %1.</source>
        <translation>Липсва стойност за опцията %1.</translation>
    </message>
    <message>
        <source>Optiunea %1 nu primeste o valoare.</source>
        <translation>Опцията %1 не приема стойност.</translation>
    </message>
    <message>
        <source>Optiunea %1 este data de doua ori.</source>
        <translation>Опцията %1 е зададена два пъти.</translation>
    </message>
    <message>
        <source>Valoare gresita pentru --lock-timeout: %1 (se accepta un numar de secunde intre 0 si 600, de exemplu 30 sau 0.5)</source>
        <translation>Грешна стойност за --lock-timeout: %1 (приема се брой секунди между 0 и 600, например 30 или 0.5)</translation>
    </message>
    <message>
        <source>Valoare gresita pentru --jobs: %1 (se accepta un numar intreg intre 0 si %2; 0 inseamna cate o sursa de date pe procesor)</source>
        <translation>Грешна стойност за --jobs: %1 (приема се цяло число между 0 и %2; 0 означава по един източник на данни на процесор)</translation>
    </message>
    <message>
        <source>Optiune necunoscuta: %1</source>
        <translation>Непозната опция: %1</translation>
    </message>
    <message>
        <source>Argument neasteptat: %1</source>
        <translation>Неочакван аргумент: %1</translation>
    </message>
    <message>
        <source>Lipseste proiectul: --convert PROIECT.vmd</source>
        <translation>Липсва проектът: --convert ПРОЕКТ.vmd</translation>
    </message>
    <message>
        <source>Lipseste directia conversiei: --to noi sau --to vechi</source>
        <extracomment>&quot;--to noi&quot; and &quot;--to vechi&quot; are typed as they are.</extracomment>
        <translation>Липсва посоката на конвертиране: --to noi или --to vechi</translation>
    </message>
    <message>
        <source>Directie necunoscuta: %1 (se accepta noi sau vechi)</source>
        <extracomment>%1: what the user gave to --to; &quot;noi&quot; and &quot;vechi&quot; are typed as they are.</extracomment>
        <translation>Непозната посока: %1 (приема се noi или vechi)</translation>
    </message>
    <message>
        <source>Sursa Date</source>
        <translation>Източник на данни</translation>
    </message>
    <message>
        <source>Tabel</source>
        <translation>Таблица</translation>
    </message>
    <message>
        <source>Camp</source>
        <translation>Поле</translation>
    </message>
    <message>
        <source>Observatii</source>
        <translation>Забележки</translation>
    </message>
    <message>
        <source>Campurile ramase nu au putut fi citite: %1</source>
        <translation>Останалите полета не можаха да бъдат прочетени: %1</translation>
    </message>
    <message>
        <source>Continuati? (d/n)</source>
        <translation>Продължавате ли? (д/н)</translation>
    </message>
    <message>
        <source>d|da</source>
        <extracomment>The answers to &quot;Continuati? (d/n)&quot; that mean yes, in lower case, separated by &quot;|&quot;.</extracomment>
        <translation>д|да|y|yes</translation>
    </message>
    <message>
        <source>Proiectul &quot;%1&quot; nu poate fi deschis: %2</source>
        <translation>Проектът &quot;%1&quot; не може да бъде отворен: %2</translation>
    </message>
    <message>
        <source>Directie necunoscuta: %1 (se accepta noi sau vechi, %2 sau %3)</source>
        <extracomment>%1: what the user gave to --to; %2, %3: the codes of the currencies. &quot;noi&quot; and &quot;vechi&quot; are typed as they are.</extracomment>
        <translation>Непозната посока: %1 (приема се noi или vechi, %2 или %3)</translation>
    </message>
    <message>
        <source>Sursele deconectate nu au putut fi repuse in lucru: %1</source>
        <translation>Източниците без връзка не можаха да бъдат върнати в работа: %1</translation>
    </message>
    <message>
        <source>Campurile nu au putut fi listate: %1</source>
        <translation>Полетата не можаха да бъдат изброени: %1</translation>
    </message>
    <message>
        <source>Conversia nu a fost facuta.</source>
        <translation>Конвертирането не беше извършено.</translation>
    </message>
    <message>
        <source>Conversia s-a oprit din cauza unei erori: %1: %2</source>
        <translation>Конвертирането спря поради грешка: %1: %2</translation>
    </message>
    <message numerus="yes">
        <source>Sursa de date &quot;%1&quot; a fost sarita: %2; %n campuri ale ei nu au fost convertite.</source>
        <translation>
            <numerusform>Източникът на данни &quot;%1&quot; беше пропуснат: %2; %n негово поле не беше конвертирано.</numerusform>
            <numerusform>Източникът на данни &quot;%1&quot; беше пропуснат: %2; %n негови полета не бяха конвертирани.</numerusform>
        </translation>
    </message>
    <message>
        <source>Sursa de date &quot;%1&quot; nu a putut fi deschisa si a fost marcata Deconectat.</source>
        <translation>Източникът на данни &quot;%1&quot; не можа да бъде отворен и беше маркиран като &quot;Без връзка&quot;.</translation>
    </message>
    <message>
        <source>Campul &quot;%1&quot; din tabelul &quot;%2&quot;: suma restaurata %3 difera de suma veche %4.</source>
        <translation>Поле &quot;%1&quot; в таблица &quot;%2&quot;: възстановената сума %3 се различава от старата сума %4.</translation>
    </message>
    <message>
        <source>Raportul nu a putut fi scris: %1</source>
        <translation>Отчетът не можа да бъде записан: %1</translation>
    </message>
</context>
<context>
    <name>CommandLineProject</name>
    <message>
        <source>Copie de lucru ramasa de la o rulare Vamor oprita: &quot;%1&quot; (%2). Poate fi recuperata sau stearsa din programul Vamor cu ferestre.</source>
        <translation>Работно копие, останало от спряно изпълнение на Vamor: &quot;%1&quot; (%2). То може да бъде възстановено или изтрито от графичния интерфейс на Vamor.</translation>
    </message>
    <message>
        <source>Jurnal ramas de la o rulare Vamor oprita: &quot;%1&quot; (%2). Poate fi sters din programul Vamor cu ferestre.</source>
        <translation>Журнал, останал от спряно изпълнение на Vamor: &quot;%1&quot; (%2). Той може да бъде изтрит от графичния интерфейс на Vamor.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; este un folder, nu un fisier de proiect.</source>
        <translation>&quot;%1&quot; е папка, а не файл на проект.</translation>
    </message>
    <message>
        <source>Proiectul &quot;%1&quot; nu exista.</source>
        <translation>Проектът &quot;%1&quot; не съществува.</translation>
    </message>
    <message>
        <source>Nu se poate face copia de lucru a proiectului in folderul &quot;%1&quot;: %2</source>
        <translation>Работното копие на проекта не може да бъде създадено в папката &quot;%1&quot;: %2</translation>
    </message>
    <message>
        <source>Proiectul are versiunea %1, pe care acest program nu o cunoaste.</source>
        <translation>Проектът е с версия %1, която тази програма не познава.</translation>
    </message>
    <message>
        <source>Proiectul &quot;%1&quot; nu poate fi deschis: %2</source>
        <translation>Проектът &quot;%1&quot; не може да бъде отворен: %2</translation>
    </message>
    <message>
        <source>Proiectul nu a putut fi salvat: %1
Starea campurilor a ramas in copia de lucru &quot;%2&quot;.</source>
        <translation>Проектът не можа да бъде записан: %1
Състоянието на полетата остана в работното копие &quot;%2&quot;.</translation>
    </message>
    <message>
        <source>Alegeti alt fisier pentru --report.</source>
        <translation>Изберете друг файл за --report.</translation>
    </message>
    <message>
        <source>Raportul nu poate fi scris in &quot;%1&quot;: acesta este fisierul proiectului.</source>
        <translation>Отчетът не може да бъде записан в &quot;%1&quot;: това е файлът на проекта.</translation>
    </message>
    <message>
        <source>Raportul nu poate fi scris in &quot;%1&quot;: acesta este copia de lucru a proiectului.</source>
        <translation>Отчетът не може да бъде записан в &quot;%1&quot;: това е работното копие на проекта.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; este un folder; --report trebuie sa numeasca un fisier.</source>
        <translation>&quot;%1&quot; е папка; --report трябва да посочва файл.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; este o legatura catre un fisier care nu exista; raportul nu va fi scris acolo.</source>
        <translation>&quot;%1&quot; е връзка към несъществуващ файл; отчетът няма да бъде записан там.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; nu este un fisier obisnuit; raportul nu va fi scris acolo.</source>
        <translation>&quot;%1&quot; не е обикновен файл; отчетът няма да бъде записан там.</translation>
    </message>
    <message>
        <source>Fisierul &quot;%1&quot; nu poate fi citit (%2); nu va fi inlocuit de raport.</source>
        <translation>Файлът &quot;%1&quot; не може да бъде прочетен (%2); няма да бъде заменен от отчета.</translation>
    </message>
    <message>
        <source>Fisierul &quot;%1&quot; exista si nu este un raport scris de Vamor; nu va fi inlocuit.</source>
        <translation>Файлът &quot;%1&quot; съществува и не е отчет, записан от Vamor; няма да бъде заменен.</translation>
    </message>
</context>
<context>
    <name>ConnString</name>
    <message>
        <source>Sirul de conectare nu este valid: lipseste semnul &quot;=&quot; dupa &quot;%1&quot;</source>
        <translation>Низът за връзка е невалиден: липсва знакът &quot;=&quot; след &quot;%1&quot;</translation>
    </message>
    <message>
        <source>Sirul de conectare nu este valid: un atribut nu are nume</source>
        <translation>Низът за връзка е невалиден: атрибут без име</translation>
    </message>
    <message>
        <source>Sirul de conectare nu este valid: acolada deschisa la &quot;%1&quot; nu este inchisa</source>
        <translation>Низът за връзка е невалиден: фигурната скоба, отворена при &quot;%1&quot;, не е затворена</translation>
    </message>
    <message>
        <source>Sirul de conectare nu este valid: text dupa acolada inchisa la &quot;%1&quot;</source>
        <translation>Низът за връзка е невалиден: текст след затварящата фигурна скоба при &quot;%1&quot;</translation>
    </message>
    <message>
        <source>Valoare necunoscuta pentru LockTimeout: %1 (se accepta un numar de secunde, de exemplu 30 sau 0.5).</source>
        <translation>Непозната стойност за LockTimeout: %1 (приема се брой секунди, например 30 или 0.5).</translation>
    </message>
</context>
<context>
    <name>ConnStrings</name>
    <message>
        <source>Valoare Null nepermisa in coloana %1</source>
        <translation>Непозволена стойност Null в колоната %1</translation>
    </message>
    <message>
        <source>Sursa de date sau tipul ei nu exista in proiect.</source>
        <translation>Източникът на данни или неговият тип не съществува в проекта.</translation>
    </message>
    <message>
        <source>%1 (Deconectat)</source>
        <extracomment>The tree node of a data source marked offline: %1 is its description.</extracomment>
        <translation>%1 (Без връзка)</translation>
    </message>
</context>
<context>
    <name>Connection</name>
    <message>
        <source>Valoare necunoscuta pentru Cache: %1 (se accepta Shared sau Private).</source>
        <translation>Непозната стойност за Cache: %1 (приема се Shared или Private).</translation>
    </message>
    <message>
        <source>Valoare necunoscuta pentru LockTimeout: %1 (se accepta un numar de secunde intre 0 si 600).</source>
        <translation>Непозната стойност за LockTimeout: %1 (приема се брой секунди между 0 и 600).</translation>
    </message>
    <message>
        <source>Valoare necunoscuta pentru Synchronous: %1 (se accepta Off, Normal sau Full).</source>
        <translation>Непозната стойност за Synchronous: %1 (приема се Off, Normal или Full).</translation>
    </message>
    <message>
        <source>Valoare necunoscuta pentru Journal: %1 (se accepta Delete, Truncate sau Persist).</source>
        <translation>Непозната стойност за Journal: %1 (приема се Delete, Truncate или Persist).</translation>
    </message>
    <message>
        <source>Sirul de conectare nu numeste fisierul bazei de date (Data Source).</source>
        <translation>Низът за връзка не посочва файла на базата данни (Data Source).</translation>
    </message>
    <message>
        <source>Operatia nu este permisa cand conexiunea este inchisa.</source>
        <translation>Операцията не е позволена, когато връзката е затворена.</translation>
    </message>
    <message>
        <source>Comanda nu contine nicio instructiune SQL.</source>
        <translation>Командата не съдържа нито една SQL инструкция.</translation>
    </message>
    <message>
        <source>O tranzactie este deja deschisa.</source>
        <translation>Вече има отворена транзакция.</translation>
    </message>
    <message>
        <source>Nu exista o tranzactie deschisa.</source>
        <translation>Няма отворена транзакция.</translation>
    </message>
    <message>
        <source>Tabelul %1 nu exista.</source>
        <translation>Таблицата %1 не съществува.</translation>
    </message>
    <message>
        <source>Coloana %1 nu exista in tabelul %2.</source>
        <translation>Колоната %1 не съществува в таблицата %2.</translation>
    </message>
</context>
<context>
    <name>ControlTotals</name>
    <message>
        <source>aproximativ</source>
        <extracomment>Remark of control totals that are not exact (read from floating-point values).</extracomment>
        <translation>приблизително</translation>
    </message>
    <message>
        <source>baza de date nu a intors un numar pentru totaluri</source>
        <translation>базата данни не върна число за контролните суми</translation>
    </message>
    <message>
        <source>interogarea totalurilor nu a intors niciun rand</source>
        <translation>заявката за контролните суми не върна нито един ред</translation>
    </message>
    <message>
        <source>valori care nu sunt numere</source>
        <translation>стойности, които не са числа</translation>
    </message>
    <message>
        <source>suma restaurata nu poate fi citita exact</source>
        <translation>възстановената сума не може да бъде прочетена точно</translation>
    </message>
    <message>
        <source>Suma %1</source>
        <extracomment>Column head: the sum in a currency, as &quot;Suma lei vechi&quot;.</extracomment>
        <translation>Сума в %1</translation>
    </message>
    <message>
        <source>Inregistrari</source>
        <translation>Записи</translation>
    </message>
    <message>
        <source>Observatii</source>
        <translation>Забележки</translation>
    </message>
    <message>
        <source>Suma asteptata</source>
        <translation>Очаквана сума</translation>
    </message>
    <message>
        <source>Diferenta rotunjire</source>
        <translation>Разлика от закръгляване</translation>
    </message>
    <message>
        <source>Suma restaurata</source>
        <translation>Възстановена сума</translation>
    </message>
    <message>
        <source>Verificare</source>
        <extracomment>Column head: whether the restored sum equals the old one.</extracomment>
        <translation>Проверка</translation>
    </message>
    <message>
        <source>egal</source>
        <extracomment>The restored sum equals the old one.</extracomment>
        <translation>равна</translation>
    </message>
    <message>
        <source>DIFERIT</source>
        <translation>РАЗЛИЧНА</translation>
    </message>
    <message>
        <source>fara totaluri: %1</source>
        <translation>без контролни суми: %1</translation>
    </message>
    <message numerus="yes">
        <source>%n campuri fara totaluri</source>
        <translation>
            <numerusform>%n поле без контролни суми</numerusform>
            <numerusform>%n полета без контролни суми</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>ConversionCommand</name>
    <message>
        <source>Proiectul trebuie salvat inainte de a face conversia.
Doriti sa se faca salvarea acum?</source>
        <translation>Проектът трябва да бъде записан преди конвертирането.
Желаете ли да бъде записан сега?</translation>
    </message>
</context>
<context>
    <name>ConversionEngine</name>
    <message>
        <source>Sursa de Date %1/%2 (%3)</source>
        <extracomment>Progress of the data sources: number, count, the source&apos;s name. Keep the name last, in parentheses.</extracomment>
        <translation>Източник на данни %1/%2 (%3)</translation>
    </message>
    <message>
        <source>Tabel %1/%2 (%3)</source>
        <extracomment>Progress of the tables: number, count, the table&apos;s name. Keep the name last, in parentheses.</extracomment>
        <translation>Таблица %1/%2 (%3)</translation>
    </message>
    <message>
        <source>Camp %1/%2 (%3)</source>
        <extracomment>Progress of the fields: number, count, the field&apos;s name. Keep the name last, in parentheses.</extracomment>
        <translation>Поле %1/%2 (%3)</translation>
    </message>
    <message>
        <source>Vamor poate citi aceasta baza de date, dar nu poate scrie in ea (driverul ei este doar pentru citire); campul nu a fost convertit.</source>
        <translation>Vamor може да чете тази база данни, но не може да записва в нея (драйверът ѝ е само за четене); полето не беше конвертирано.</translation>
    </message>
    <message>
        <source>este marcata Deconectat (nu a putut fi deschisa la o rulare anterioara)</source>
        <extracomment>Why a data source was passed over; follows its name.</extracomment>
        <translation>е маркиран като &quot;Без връзка&quot; (не можа да бъде отворен при предишно изпълнение)</translation>
    </message>
    <message>
        <source>tipul ei (%1) nu exista in proiect</source>
        <translation>типът му (%1) не съществува в проекта</translation>
    </message>
    <message>
        <source>tipul ei nu are sablon de conversie in %1</source>
        <translation>типът му няма шаблон за конвертиране в %1</translation>
    </message>
    <message>
        <source>nu are sir de conectare</source>
        <translation>няма низ за връзка</translation>
    </message>
    <message>
        <source>sirul ei de conectare nu poate fi format: %1</source>
        <translation>низът му за връзка не може да бъде съставен: %1</translation>
    </message>
    <message>
        <source>nu a putut fi deschisa si a fost marcata Deconectat: %1</source>
        <translation>не можа да бъде отворен и беше маркиран като &quot;Без връзка&quot;: %1</translation>
    </message>
    <message>
        <source>Sursa de Date</source>
        <translation>Източник на данни</translation>
    </message>
    <message>
        <source>Tabel</source>
        <translation>Таблица</translation>
    </message>
    <message>
        <source>Camp</source>
        <translation>Поле</translation>
    </message>
    <message>
        <source>Serverul acestei surse de date este un server de rezerva (standby) care urmeaza alt server si poate fi doar citit; conversia se face prin serverul principal. Campul nu a fost convertit.</source>
        <translation>Сървърът на този източник на данни е резервен сървър (standby), който следва друг сървър и може само да се чете; конвертирането се извършва през основния сървър. Полето не е конвертирано.</translation>
    </message>
</context>
<context>
    <name>ConversionField</name>
    <message>
        <source>Campul &quot;%1&quot; contine valori care nu sunt numere (de exemplu &quot;%2&quot;); nu a fost convertit.</source>
        <translation>Полето &quot;%1&quot; съдържа стойности, които не са числа (например &quot;%2&quot;); не беше конвертирано.</translation>
    </message>
    <message numerus="yes">
        <source>Sume rotunjite la %n zecimale</source>
        <translation>
            <numerusform>Сумите са закръглени до %n знак след десетичната запетая</numerusform>
            <numerusform>Сумите са закръглени до %n знака след десетичната запетая</numerusform>
        </translation>
    </message>
    <message>
        <source>Coloana &quot;%1&quot; este convertita deja de un alt camp al tabelului; campul nu a fost convertit.</source>
        <translation>Колоната &quot;%1&quot; вече се конвертира от друго поле на таблицата; полето не беше конвертирано.</translation>
    </message>
    <message>
        <source>Coloana &quot;%1&quot; este coloana de restaurare a unui camp al tabelului; campul nu a fost convertit.</source>
        <translation>Колоната &quot;%1&quot; е колона за възстановяване на поле от таблицата; полето не беше конвертирано.</translation>
    </message>
    <message>
        <source>Coloana de restaurare &quot;%1&quot; este folosita si de un alt camp al tabelului; campul nu a fost convertit.</source>
        <translation>Колоната за възстановяване &quot;%1&quot; се използва и от друго поле на таблицата; полето не беше конвертирано.</translation>
    </message>
    <message>
        <source>Starea campului este necunoscuta: nu a putut fi verificata din nou dupa intrerupere (%1).</source>
        <translation>Състоянието на полето е неизвестно: не можа да бъде проверено отново след прекъсването (%1).</translation>
    </message>
    <message>
        <source>sesiunea abandonata, numarul %1 pe server, nu s-a incheiat inca, iar tranzactia ei poate fi inca salvata</source>
        <translation>изоставената сесия с номер %1 на сървъра още не е приключила и нейната транзакция все още може да бъде записана</translation>
    </message>
    <message>
        <source>Starea a fost verificata din nou dupa o intrerupere: campul este in %1.</source>
        <translation>Състоянието беше проверено отново след прекъсване: полето е в %1.</translation>
    </message>
    <message>
        <source>Suma restaurata (%1) difera de suma %2 din coloana de restaurare (%3); conversia inapoi a fost anulata, campul a ramas in %4.</source>
        <translation>Възстановената сума (%1) се различава от сумата %2 в колоната за възстановяване (%3); обратното конвертиране беше отменено, полето остана в %4.</translation>
    </message>
    <message>
        <source>Totalurile de control nu au putut fi citite (%1); conversia campului a fost anulata.</source>
        <translation>Контролните суми не можаха да бъдат прочетени (%1); конвертирането на полето беше отменено.</translation>
    </message>
    <message>
        <source>Campul nu a fost convertit.</source>
        <translation>Полето не беше конвертирано.</translation>
    </message>
    <message>
        <source>numarul inregistrarilor nu a putut fi citit</source>
        <translation>броят на записите не можа да бъде прочетен</translation>
    </message>
    <message>
        <source>Baza de date a confirmat tranzactia, dar starea campului nu a putut fi citita din nou: %1</source>
        <translation>Базата данни потвърди транзакцията, но състоянието на полето не можа да бъде прочетено отново: %1</translation>
    </message>
    <message>
        <source>Baza de date a confirmat tranzactia, dar nu arata campul convertit; starea lui a fost citita din nou din baza de date.</source>
        <translation>Базата данни потвърди транзакцията, но не показва полето като конвертирано; състоянието му беше прочетено отново от базата данни.</translation>
    </message>
    <message>
        <source>nodul nu face parte din componenta principala a clusterului</source>
        <translation>възелът не е част от основния компонент на клъстера</translation>
    </message>
    <message>
        <source>nodul il vede inca in cluster pe cel prin care s-a facut conversia, unde tranzactia poate fi inca salvata</source>
        <translation>възелът все още вижда в клъстера възела, през който е извършено преобразуването, където транзакцията все още може да бъде записана</translation>
    </message>
    <message>
        <source>membrii clusterului nu au putut fi cititi; utilizatorul sursei de date are nevoie de dreptul de a citi tabelul mysql.wsrep_cluster_members: %1</source>
        <translation>членовете на клъстера не можаха да бъдат прочетени; потребителят на източника на данни се нуждае от право да чете таблицата mysql.wsrep_cluster_members: %1</translation>
    </message>
    <message>
        <source>Starea a fost verificata din nou dupa o intrerupere, prin nodul %1 al clusterului: campul este in %2.</source>
        <translation>Състоянието беше проверено отново след прекъсване, през възел %1 на клъстера: полето е в %2.</translation>
    </message>
    <message>
        <source>prin nodul %1: %2</source>
        <translation>през възел %1: %2</translation>
    </message>
</context>
<context>
    <name>ConversionListing</name>
    <message>
        <source>sursa de date &quot;%1&quot;</source>
        <extracomment>What the listing waits for: the data source being opened.</extracomment>
        <translation>източник на данни &quot;%1&quot;</translation>
    </message>
    <message>
        <source>tabelul &quot;%1&quot; al sursei &quot;%2&quot;</source>
        <extracomment>What the listing waits for: a table of a data source.</extracomment>
        <translation>таблица &quot;%1&quot; на източника &quot;%2&quot;</translation>
    </message>
    <message>
        <source>Starea campului nu a putut fi citita: %1</source>
        <translation>Състоянието на полето не можа да бъде прочетено: %1</translation>
    </message>
    <message numerus="yes">
        <source>Coloana pastreaza doar %n zecimale</source>
        <translation>
            <numerusform>Колоната съхранява само %n знак след десетичната запетая</numerusform>
            <numerusform>Колоната съхранява само %n знака след десетичната запетая</numerusform>
        </translation>
    </message>
    <message>
        <source>Rotunjire %1</source>
        <extracomment>%1: the name of the rounding rule, as &quot;SUS&quot;.</extracomment>
        <translation>Закръгляване %1</translation>
    </message>
    <message>
        <source>Campuri verificate: %1</source>
        <translation>Проверени полета: %1</translation>
    </message>
    <message numerus="yes">
        <source>%n campuri vor fi convertite</source>
        <translation>
            <numerusform>%n поле ще бъде конвертирано</numerusform>
            <numerusform>%n полета ще бъдат конвертирани</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>ConversionRun</name>
    <message>
        <source>Conversie intrerupta de utilizator</source>
        <translation>Конвертирането е прекъснато от потребителя</translation>
    </message>
</context>
<context>
    <name>DbError</name>
    <message>
        <source>Asteptarea a fost oprita de utilizator.</source>
        <translation>Изчакването беше спряно от потребителя.</translation>
    </message>
    <message>
        <source>Interogarea nu s-a terminat in %1 s si a fost oprita.</source>
        <translation>Заявката не завърши за %1 с и беше спряна.</translation>
    </message>
    <message>
        <source>Baza de date nu a raspuns la salvarea tranzactiei in %1 s; conexiunea a fost abandonata.</source>
        <translation>Базата данни не отговори при записването на транзакцията за %1 с; връзката беше изоставена.</translation>
    </message>
    <message>
        <source>Legatura cu serverul s-a pierdut in timpul salvarii tranzactiei.</source>
        <translation>Връзката със сървъра беше загубена, докато транзакцията се записваше.</translation>
    </message>
</context>
<context>
    <name>DbfFile</name>
    <message>
        <source>Fisierul %1 nu este un tabel DBF.</source>
        <translation>Файлът %1 не е DBF таблица.</translation>
    </message>
    <message>
        <source>Textul &quot;%1&quot; nu poate fi scris in pagina de cod a tabelului.</source>
        <translation>Текстът &quot;%1&quot; не може да бъде записан в кодовата страница на таблицата.</translation>
    </message>
    <message>
        <source>Tabelul %1 nu poate fi citit: %2</source>
        <translation>Таблицата %1 не може да бъде прочетена: %2</translation>
    </message>
    <message>
        <source>Tabelul %1 are coloana %2 de un tip pe care Vamor nu il cunoaste (%3).</source>
        <translation>Таблицата %1 има колона %2 от тип, който Vamor не познава (%3).</translation>
    </message>
    <message>
        <source>Tabelul %1 este incomplet: fisierul se termina inaintea ultimei inregistrari.</source>
        <translation>Таблицата %1 е непълна: файлът свършва преди последния запис.</translation>
    </message>
    <message>
        <source>Lipseste fisierul memo al tabelului %1.</source>
        <translation>Липсва memo файлът на таблицата %1.</translation>
    </message>
    <message>
        <source>Fisierul memo %1 nu poate fi citit: %2</source>
        <translation>Memo файлът %1 не може да бъде прочетен: %2</translation>
    </message>
    <message>
        <source>Coloana %1 nu exista.</source>
        <translation>Колоната %1 не съществува.</translation>
    </message>
    <message>
        <source>Valoarea %1 nu incape exact in coloana %2 (%3,%4).</source>
        <translation>Стойността %1 не се побира точно в колоната %2 (%3,%4).</translation>
    </message>
    <message>
        <source>Coloana %1 nu poate primi valoarea Null.</source>
        <translation>Колоната %1 не може да приеме стойност Null.</translation>
    </message>
    <message>
        <source>Valoarea &quot;%1&quot; din coloana %2 nu este un numar.</source>
        <translation>Стойността &quot;%1&quot; в колоната %2 не е число.</translation>
    </message>
    <message>
        <source>Valoarea &quot;%1&quot; din coloana %2 nu este o data.</source>
        <translation>Стойността &quot;%1&quot; в колоната %2 не е дата.</translation>
    </message>
    <message>
        <source>Coloana memo %1 nu poate fi modificata de Vamor.</source>
        <translation>Memo колоната %1 не може да бъде променяна от Vamor.</translation>
    </message>
    <message>
        <source>Numele de coloana &quot;%1&quot; nu poate fi folosit intr-un tabel DBF: cel mult 10 litere, cifre sau &quot;_&quot;, incepand cu o litera.</source>
        <translation>Името на колона &quot;%1&quot; не може да се използва в DBF таблица: най-много 10 букви, цифри или &quot;_&quot;, като първият знак е буква.</translation>
    </message>
    <message>
        <source>Coloana %1 exista deja in tabelul %2.</source>
        <translation>Колоната %1 вече съществува в таблицата %2.</translation>
    </message>
    <message>
        <source>Tipul de coloana %1 nu poate fi adaugat acestui tabel DBF.</source>
        <translation>Тип колона %1 не може да бъде добавен към тази DBF таблица.</translation>
    </message>
    <message>
        <source>Dimensiunea %1,%2 nu este valida pentru o coloana %3 a unui tabel DBF.</source>
        <translation>Размерът %1,%2 не е валиден за колона %3 на DBF таблица.</translation>
    </message>
    <message>
        <source>Inregistrarile tabelului %1 ar depasi 65535 de octeti.</source>
        <translation>Записите на таблицата %1 биха надхвърлили 65535 байта.</translation>
    </message>
    <message>
        <source>Ultima coloana a tabelului %1 nu poate fi stearsa.</source>
        <translation>Последната колона на таблицата %1 не може да бъде изтрита.</translation>
    </message>
    <message>
        <source>Tabelul %1 are prea multe coloane.</source>
        <translation>Таблицата %1 има твърде много колони.</translation>
    </message>
</context>
<context>
    <name>DbfIndexFiles</name>
    <message>
        <source>antetul este incomplet</source>
        <translation>заглавната част е непълна</translation>
    </message>
    <message>
        <source>antetul nu are o expresie de cheie</source>
        <translation>заглавната част няма ключов израз</translation>
    </message>
    <message>
        <source>nu poate fi deschis: %1</source>
        <translation>не може да бъде отворен: %1</translation>
    </message>
    <message>
        <source>Coloana %1 a tabelului %2 are o eticheta in indexul de productie (.mdx). Stergeti intai acest index in programul care foloseste tabelul, apoi reluati conversia.</source>
        <translation>Колоната %1 на таблицата %2 има таг в производствения индекс (.mdx). Първо изтрийте този индекс в програмата, която използва таблицата, след това стартирайте конвертирането отново.</translation>
    </message>
    <message>
        <source>Fisierul de index %1 poate folosi coloana %2. Stergeti intai acest index in programul care foloseste tabelul, apoi reluati conversia.</source>
        <translation>Индексният файл %1 може да използва колоната %2. Първо изтрийте този индекс в програмата, която използва таблицата, след това стартирайте конвертирането отново.</translation>
    </message>
    <message>
        <source>Fisierul de index %1 poate folosi coloana %2 (un fisier de index cu alt nume decat al tabelului poate fi al oricarui tabel din dosar). Stergeti intai acest index in programul care foloseste tabelul, apoi reluati conversia.</source>
        <translation>Индексният файл %1 може да използва колоната %2 (индексен файл с име, различно от това на таблицата, може да принадлежи на всяка таблица в папката). Първо изтрийте този индекс в програмата, която използва таблицата, след това стартирайте конвертирането отново.</translation>
    </message>
    <message>
        <source>Fisierul de index %1 nu poate fi citit (%3), deci nu se stie daca foloseste coloana %2. Stergeti intai acest index in programul care foloseste tabelul, apoi reluati conversia.</source>
        <translation>Индексният файл %1 не може да бъде прочетен (%3), затова не е известно дали използва колоната %2. Първо изтрийте този индекс в програмата, която използва таблицата, след това стартирайте конвертирането отново.</translation>
    </message>
    <message>
        <source>Fisierul de index %1 nu poate fi citit (%3), deci nu se stie daca foloseste coloana %2 (un fisier de index cu alt nume decat al tabelului poate fi al oricarui tabel din dosar). Stergeti intai acest index in programul care foloseste tabelul, apoi reluati conversia.</source>
        <translation>Индексният файл %1 не може да бъде прочетен (%3), затова не е известно дали използва колоната %2 (индексен файл с име, различно от това на таблицата, може да принадлежи на всяка таблица в папката). Първо изтрийте този индекс в програмата, която използва таблицата, след това стартирайте конвертирането отново.</translation>
    </message>
    <message>
        <source>Tabelul %1 are un index de productie care lipseste din dosar, deci nu se stie daca foloseste coloana %2. Stergeti intai acest index in programul care foloseste tabelul, apoi reluati conversia.</source>
        <translation>Таблицата %1 има производствен индекс, който липсва в папката, затова не е известно дали използва колоната %2. Първо изтрийте този индекс в програмата, която използва таблицата, след това стартирайте конвертирането отново.</translation>
    </message>
</context>
<context>
    <name>DbfMemory</name>
    <message>
        <source>Valoarea &quot;%1&quot; nu este un numar.</source>
        <translation>Стойността &quot;%1&quot; не е число.</translation>
    </message>
    <message>
        <source>Argument in afara limitelor.</source>
        <translation>Аргумент извън допустимите граници.</translation>
    </message>
    <message>
        <source>Valoarea nu este un numar.</source>
        <translation>Стойността не е число.</translation>
    </message>
    <message>
        <source>Memoria de lucru a furnizorului DBF nu poate fi deschisa.</source>
        <translation>Работната памет на DBF доставчика не може да бъде отворена.</translation>
    </message>
</context>
<context>
    <name>DbfProvider</name>
    <message>
        <source>Comanda nu contine nicio instructiune SQL.</source>
        <translation>Командата не съдържа нито една SQL инструкция.</translation>
    </message>
    <message>
        <source>Comanda contine mai multe instructiuni SQL.</source>
        <translation>Командата съдържа повече от една SQL инструкция.</translation>
    </message>
    <message>
        <source>Furnizorul DBF ruleaza doar SELECT, UPDATE si ALTER TABLE ADD / DROP COLUMN.</source>
        <translation>DBF доставчикът изпълнява само SELECT, UPDATE и ALTER TABLE ADD / DROP COLUMN.</translation>
    </message>
    <message>
        <source>Coloana %1 nu exista in tabelul %2.</source>
        <translation>Колоната %1 не съществува в таблицата %2.</translation>
    </message>
    <message>
        <source>Operatia nu este permisa cand conexiunea este inchisa.</source>
        <translation>Операцията не е позволена, когато връзката е затворена.</translation>
    </message>
    <message>
        <source>Dosarul %1 nu exista.</source>
        <translation>Папката %1 не съществува.</translation>
    </message>
    <message>
        <source>Tabelul %1 nu exista.</source>
        <translation>Таблицата %1 не съществува.</translation>
    </message>
    <message>
        <source>Tabelul %1 poate fi doar citit: Vamor nu il poate modifica.</source>
        <translation>Таблицата %1 е само за четене: Vamor не може да я променя.</translation>
    </message>
    <message>
        <source>Tipul de coloana &quot;%1&quot; nu este cunoscut.</source>
        <translation>Типът колона &quot;%1&quot; не е известен.</translation>
    </message>
    <message>
        <source>Inregistrarile tabelului %1 nu mai corespund fisierului.</source>
        <translation>Записите на таблицата %1 вече не съответстват на файла.</translation>
    </message>
    <message>
        <source>Sirul de conectare nu numeste dosarul tabelelor DBF (Data Source).</source>
        <translation>Низът за връзка не посочва папката с DBF таблиците (Data Source).</translation>
    </message>
    <message>
        <source>Dosarul tabelelor DBF nu exista: %1</source>
        <translation>Папката с DBF таблиците не съществува: %1</translation>
    </message>
</context>
<context>
    <name>DbfTableGuard</name>
    <message>
        <source>Tabelul &quot;%1&quot; a fost schimbat de alt program in timpul conversiei; nu a fost scris nimic.</source>
        <translation>Таблицата &quot;%1&quot; беше променена от друга програма по време на конвертирането; нищо не беше записано.</translation>
    </message>
    <message>
        <source>Tabelul &quot;%1&quot; este blocat de alt program; inchideti programul si reluati conversia.</source>
        <translation>Таблицата &quot;%1&quot; е заключена от друга програма; затворете програмата и стартирайте конвертирането отново.</translation>
    </message>
    <message>
        <source>Tabelul &quot;%1&quot; este blocat de alt program (procesul %2); inchideti programul si reluati conversia.</source>
        <translation>Таблицата &quot;%1&quot; е заключена от друга програма (процес %2); затворете програмата и стартирайте конвертирането отново.</translation>
    </message>
    <message>
        <source>Tabelul &quot;%1&quot; este blocat de alt program (procesul %2, %3); inchideti programul si reluati conversia.</source>
        <translation>Таблицата &quot;%1&quot; е заключена от друга програма (процес %2, %3); затворете програмата и стартирайте конвертирането отново.</translation>
    </message>
    <message>
        <source>Tabelul &quot;%1&quot; este folosit de alt program; inchideti programul si reluati conversia.</source>
        <translation>Таблицата &quot;%1&quot; се използва от друга програма; затворете програмата и стартирайте конвертирането отново.</translation>
    </message>
    <message>
        <source>Tabelul &quot;%1&quot; este folosit de alt program (procesul %2); inchideti programul si reluati conversia.</source>
        <translation>Таблицата &quot;%1&quot; се използва от друга програма (процес %2); затворете програмата и стартирайте конвертирането отново.</translation>
    </message>
    <message>
        <source>Tabelul &quot;%1&quot; este folosit de alt program (procesul %2, %3); inchideti programul si reluati conversia.</source>
        <translation>Таблицата &quot;%1&quot; се използва от друга програма (процес %2, %3); затворете програмата и стартирайте конвертирането отново.</translation>
    </message>
    <message>
        <source>Blocarile tabelului &quot;%1&quot; nu pot fi verificate: %2</source>
        <translation>Заключванията на таблицата &quot;%1&quot; не могат да бъдат проверени: %2</translation>
    </message>
    <message>
        <source>Tabelul &quot;%1&quot; nu poate fi deschis pentru scriere: %2</source>
        <translation>Таблицата &quot;%1&quot; не може да бъде отворена за запис: %2</translation>
    </message>
    <message>
        <source>Tabelul &quot;%1&quot; nu poate fi blocat: %2</source>
        <translation>Таблицата &quot;%1&quot; не може да бъде заключена: %2</translation>
    </message>
    <message>
        <source>Tabelul %1 nu poate fi scris: %2</source>
        <translation>Таблицата %1 не може да бъде записана: %2</translation>
    </message>
</context>
<context>
    <name>DiscoverCommand</name>
    <message>
        <source>sursa de date nu are sir de conectare</source>
        <translation>източникът на данни няма низ за връзка</translation>
    </message>
    <message>
        <source>Sursa Date</source>
        <translation>Източник на данни</translation>
    </message>
    <message>
        <source>Tabel</source>
        <translation>Таблица</translation>
    </message>
    <message>
        <source>Camp</source>
        <translation>Поле</translation>
    </message>
    <message>
        <source>Tip</source>
        <extracomment>The column&apos;s data type</extracomment>
        <translation>Тип</translation>
    </message>
    <message>
        <source>Inregistrari</source>
        <extracomment>Number of rows of the table</extracomment>
        <translation>Записи</translation>
    </message>
    <message>
        <source>Completate</source>
        <extracomment>Number of rows with a value in the column</extracomment>
        <translation>Попълнени</translation>
    </message>
    <message>
        <source>Minim</source>
        <translation>Минимум</translation>
    </message>
    <message>
        <source>Maxim</source>
        <translation>Максимум</translation>
    </message>
    <message>
        <source>Exemple</source>
        <translation>Примери</translation>
    </message>
    <message>
        <source>Propus</source>
        <extracomment>Whether the column is proposed as money; the same word as in the usage text</extracomment>
        <translation>Предложена</translation>
    </message>
    <message>
        <source>Stare</source>
        <translation>Състояние</translation>
    </message>
    <message>
        <source>Dovezi</source>
        <extracomment>Evidence for and against the column holding money</extracomment>
        <translation>Признаци</translation>
    </message>
    <message>
        <source>coloana de restaurare</source>
        <translation>колона за възстановяване</translation>
    </message>
    <message>
        <source>in proiect</source>
        <translation>в проекта</translation>
    </message>
    <message>
        <source>da</source>
        <extracomment>Value of the &quot;Propus&quot; column: proposed; the same word as in the usage text</extracomment>
        <translation>да</translation>
    </message>
    <message>
        <source>nu</source>
        <extracomment>Value of the &quot;Propus&quot; column: not proposed; the same word as in the usage text</extracomment>
        <translation>не</translation>
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
        <translation>Употреба:
  vamor --discover ПРОЕКТ.vmd [--source ИМЕ] [--add]

Търси сумите: чете всяка таблица на източниците на данни на проекта (или
само на източника ИМЕ) и извежда като CSV всяка числова колона, с признаците
за и против това тя да съдържа парични суми, и колоната &quot;Предложена&quot; (да/не).
Базата данни не се променя.
  --add   добавя в проекта предложените колони (и техните таблици), с имената
          по подразбиране на колоните за възстановяване, и записва проекта

Изходен код: 0 всички таблици са прочетени, 1 някои не можаха да бъдат прочетени
             (посочени са), 2 грешни аргументи или проектът не може да бъде отворен.
</translation>
    </message>
    <message>
        <source>Lipseste valoarea optiunii %1.</source>
        <translation>Липсва стойност за опцията %1.</translation>
    </message>
    <message>
        <source>Optiunea %1 este data de doua ori.</source>
        <translation>Опцията %1 е зададена два пъти.</translation>
    </message>
    <message>
        <source>Optiune necunoscuta: %1</source>
        <translation>Непозната опция: %1</translation>
    </message>
    <message>
        <source>Argument neasteptat: %1</source>
        <translation>Неочакван аргумент: %1</translation>
    </message>
    <message>
        <source>Lipseste proiectul: --discover PROIECT.vmd</source>
        <translation>Липсва проектът: --discover ПРОЕКТ.vmd</translation>
    </message>
    <message>
        <source>Sursele de date ale proiectului nu au putut fi citite: %1</source>
        <translation>Източниците на данни на проекта не можаха да бъдат прочетени: %1</translation>
    </message>
    <message>
        <source>Proiectul nu are sursa de date &quot;%1&quot;.</source>
        <translation>Проектът няма източник на данни &quot;%1&quot;.</translation>
    </message>
    <message>
        <source>Sursa de date &quot;%1&quot; nu a putut fi citita: %2</source>
        <translation>Източникът на данни &quot;%1&quot; не можа да бъде прочетен: %2</translation>
    </message>
    <message>
        <source>Tabelul &quot;%1&quot; al sursei de date &quot;%2&quot; nu a putut fi citit: %3</source>
        <translation>Таблицата &quot;%1&quot; на източника на данни &quot;%2&quot; не можа да бъде прочетена: %3</translation>
    </message>
    <message>
        <source>Campurile sursei de date &quot;%1&quot; nu au putut fi adaugate in proiect: %2</source>
        <translation>Полетата на източника на данни &quot;%1&quot; не можаха да бъдат добавени в проекта: %2</translation>
    </message>
    <message numerus="yes">
        <source>Adaugate in proiect: %1 tabele, %n campuri.</source>
        <extracomment>%1 tables and %n fields added to the project</extracomment>
        <translation>
            <numerusform>Добавени в проекта – таблици: %1, полета: %n.</numerusform>
            <numerusform>Добавени в проекта – таблици: %1, полета: %n.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>ErrorTrap</name>
    <message>
        <source>Eroare necunoscuta</source>
        <translation>Неизвестна грешка</translation>
    </message>
</context>
<context>
    <name>HistoryCommand</name>
    <message>
        <source>totaluri: vechi %1, noi %2, asteptat %3, diferenta %4</source>
        <extracomment>Control totals of a run or a field: the old sum, the new sum, the expected sum, the difference.</extracomment>
        <translation>контролни суми: стара %1, нова %2, очаквана %3, разлика %4</translation>
    </message>
    <message>
        <source>totaluri: vechi %1, restaurat %2</source>
        <extracomment>Control totals of a run or a field converted back: the old sum, the restored sum.</extracomment>
        <translation>контролни суми: стара %1, възстановена %2</translation>
    </message>
    <message>
        <source>Conversie</source>
        <translation>Конвертиране</translation>
    </message>
    <message>
        <source>Inceput</source>
        <translation>Начало</translation>
    </message>
    <message>
        <source>Sfarsit</source>
        <translation>Край</translation>
    </message>
    <message>
        <source>Utilizator</source>
        <translation>Потребител</translation>
    </message>
    <message>
        <source>Calculator</source>
        <translation>Компютър</translation>
    </message>
    <message>
        <source>Directie</source>
        <translation>Посока</translation>
    </message>
    <message>
        <source>Optiuni</source>
        <translation>Опции</translation>
    </message>
    <message>
        <source>Stare conversie</source>
        <translation>Състояние на конвертирането</translation>
    </message>
    <message>
        <source>Sursa Date</source>
        <translation>Източник на данни</translation>
    </message>
    <message>
        <source>Tabel</source>
        <translation>Таблица</translation>
    </message>
    <message>
        <source>Camp</source>
        <translation>Поле</translation>
    </message>
    <message>
        <source>Inregistrari</source>
        <translation>Записи</translation>
    </message>
    <message>
        <source>Stare inainte</source>
        <translation>Състояние преди</translation>
    </message>
    <message>
        <source>Stare dupa</source>
        <translation>Състояние след</translation>
    </message>
    <message>
        <source>Eroare</source>
        <translation>Грешка</translation>
    </message>
    <message>
        <source>Durata (ms)</source>
        <translation>Продължителност (мс)</translation>
    </message>
    <message>
        <source>Randuri</source>
        <translation>Редове</translation>
    </message>
    <message>
        <source>Suma veche</source>
        <translation>Стара сума</translation>
    </message>
    <message>
        <source>Suma noua</source>
        <translation>Нова сума</translation>
    </message>
    <message>
        <source>Suma asteptata</source>
        <translation>Очаквана сума</translation>
    </message>
    <message>
        <source>Diferenta</source>
        <translation>Разлика</translation>
    </message>
    <message>
        <source>Suma restaurata</source>
        <translation>Възстановена сума</translation>
    </message>
    <message>
        <source>Conditie</source>
        <translation>Условие</translation>
    </message>
    <message>
        <source>Observatii</source>
        <translation>Забележки</translation>
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
        <translation>Употреба:
  vamor --history ПРОЕКТ.vmd [--csv]

Извежда конвертиранията, записани в проекта, от най-старото: началото и
края, потребителя и компютъра, посоката, конвертираните и неуспешните полета,
след това полетата на всяко конвертиране с техните контролни суми. --csv
извежда по един CSV ред за всяко поле.

Изходен код: 0 или 2 при грешни аргументи или проект, който не може да бъде отворен.
</translation>
    </message>
    <message>
        <source>Optiunea %1 este data de doua ori.</source>
        <translation>Опцията %1 е зададена два пъти.</translation>
    </message>
    <message>
        <source>Lipseste valoarea optiunii %1.</source>
        <translation>Липсва стойност за опцията %1.</translation>
    </message>
    <message>
        <source>Optiune necunoscuta: %1</source>
        <translation>Непозната опция: %1</translation>
    </message>
    <message>
        <source>Argument neasteptat: %1</source>
        <translation>Неочакван аргумент: %1</translation>
    </message>
    <message>
        <source>Istoricul nu a putut fi citit: %1</source>
        <translation>Историята не можа да бъде прочетена: %1</translation>
    </message>
    <message>
        <source>Proiectul nu are nicio conversie inregistrata.</source>
        <translation>Проектът няма нито едно записано конвертиране.</translation>
    </message>
    <message numerus="yes">
        <source>Conversia %1: %2 - %3, %4 pe %5, %6, %n campuri convertite, %7 esuate, %8%9%10</source>
        <translation>
            <numerusform>Конвертиране %1: %2 - %3, %4 на %5, %6, %n конвертирано поле, неуспешни: %7, %8%9%10</numerusform>
            <numerusform>Конвертиране %1: %2 - %3, %4 на %5, %6, %n конвертирани полета, неуспешни: %7, %8%9%10</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%1 / %2 / %3: %n inregistrari</source>
        <extracomment>A field of a run: its data source, table and field, and the records converted.</extracomment>
        <translation>
            <numerusform>%1 / %2 / %3: %n запис</numerusform>
            <numerusform>%1 / %2 / %3: %n записа</numerusform>
        </translation>
    </message>
    <message>
        <source>eroare: %1</source>
        <translation>грешка: %1</translation>
    </message>
</context>
<context>
    <name>HistoryReport</name>
    <message>
        <source>Conversie intrerupta: programul s-a oprit inainte de sfarsitul ei</source>
        <translation>Конвертирането е прекъснато: програмата е спряла преди края му</translation>
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
        <translation>Отказ</translation>
    </message>
    <message>
        <source>Da</source>
        <translation>Да</translation>
    </message>
    <message>
        <source>Nu</source>
        <translation>Не</translation>
    </message>
</context>
<context>
    <name>MoneyRules</name>
    <message>
        <source>pentru: %1</source>
        <extracomment>Evidence for the column holding money, followed by its list</extracomment>
        <translation>за: %1</translation>
    </message>
    <message>
        <source>impotriva: %1</source>
        <extracomment>Evidence against the column holding money, followed by its list</extracomment>
        <translation>против: %1</translation>
    </message>
    <message>
        <source>tip %1</source>
        <extracomment>The column&apos;s data type as the database declares it (&quot;tip DECIMAL(15,2)&quot;)</extracomment>
        <translation>тип %1</translation>
    </message>
    <message>
        <source>cheie primara</source>
        <translation>първичен ключ</translation>
    </message>
    <message>
        <source>cheie straina</source>
        <translation>външен ключ</translation>
    </message>
    <message>
        <source>are index</source>
        <translation>има индекс</translation>
    </message>
    <message>
        <source>numele contine &apos;%1&apos;</source>
        <extracomment>%1 is a word of the column&apos;s name, kept as it is</extracomment>
        <translation>името съдържа &apos;%1&apos;</translation>
    </message>
    <message>
        <source>tabelul pare de sume (&apos;%1&apos;)</source>
        <extracomment>%1 is a word of the table&apos;s name, kept as it is</extracomment>
        <translation>таблицата изглежда е със суми (&apos;%1&apos;)</translation>
    </message>
    <message>
        <source>nicio valoare in primele randuri</source>
        <translation>няма стойности в първите редове</translation>
    </message>
    <message>
        <source>valori ca anii (1900-2100)</source>
        <translation>стойности като години (1900-2100)</translation>
    </message>
    <message numerus="yes">
        <source>valori mici, cu %n zecimale</source>
        <translation>
            <numerusform>малки стойности, с %n десетичен знак</numerusform>
            <numerusform>малки стойности, с %n десетични знака</numerusform>
        </translation>
    </message>
    <message>
        <source>valori mici (sub 1000)</source>
        <translation>малки стойности (под 1000)</translation>
    </message>
    <message>
        <source>valori multiplu de 100</source>
        <translation>стойности, кратни на 100</translation>
    </message>
    <message>
        <source>valori lungi, nerotunde (ca niste coduri)</source>
        <translation>дълги, некръгли стойности (като кодове)</translation>
    </message>
    <message>
        <source>valori mari (de la 10 000 in sus)</source>
        <translation>големи стойности (от 10 000 нагоре)</translation>
    </message>
    <message numerus="yes">
        <source>valori cu %n zecimale</source>
        <translation>
            <numerusform>стойности с %n десетичен знак</numerusform>
            <numerusform>стойности с %n десетични знака</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>OdbcProvider</name>
    <message>
        <source>Managerul de drivere ODBC nu a putut fi initializat.</source>
        <translation>Диспечерът на драйвери ODBC не можа да бъде инициализиран.</translation>
    </message>
    <message>
        <source>Driverul ODBC a refuzat conexiunea fara sa spuna de ce.</source>
        <translation>Драйверът ODBC отказа връзката, без да посочи причина.</translation>
    </message>
    <message>
        <source>Driverul ODBC nu suporta tranzactii.</source>
        <translation>Драйверът ODBC не поддържа транзакции.</translation>
    </message>
    <message>
        <source>O tranzactie este deja deschisa.</source>
        <translation>Вече има отворена транзакция.</translation>
    </message>
    <message>
        <source>Tranzactia nu a putut incepe.</source>
        <translation>Транзакцията не можа да започне.</translation>
    </message>
    <message>
        <source>Tranzactia nu a putut fi salvata.</source>
        <translation>Транзакцията не можа да бъде записана.</translation>
    </message>
    <message>
        <source>Tranzactia nu a putut fi anulata.</source>
        <translation>Транзакцията не можа да бъде отменена.</translation>
    </message>
    <message>
        <source>Conexiunea a fost inchisa fara a salva tranzactia; baza de date o anuleaza.</source>
        <translation>Връзката беше затворена, без транзакцията да бъде записана; базата данни я отменя.</translation>
    </message>
    <message>
        <source>Operatia nu este permisa cand conexiunea este inchisa.</source>
        <translation>Операцията не е разрешена, когато връзката е затворена.</translation>
    </message>
    <message>
        <source>Nu exista o tranzactie deschisa.</source>
        <translation>Няма отворена транзакция.</translation>
    </message>
    <message>
        <source>Conexiunea a fost inchisa: driverul ODBC nu a revenit la salvarea automata a fiecarei instructiuni dupa tranzactie.</source>
        <translation>Връзката беше затворена: след транзакцията драйверът ODBC не се върна към автоматичното записване на всяка инструкция.</translation>
    </message>
    <message>
        <source>Tabelul %1 nu exista.</source>
        <translation>Таблицата %1 не съществува.</translation>
    </message>
    <message>
        <source>Coloana %1 nu exista in tabelul %2.</source>
        <translation>Колоната %1 не съществува в таблицата %2.</translation>
    </message>
</context>
<context>
    <name>OdbcSupport</name>
    <message>
        <source>Apelul ODBC %1 a esuat (cod %2).</source>
        <translation>Извикването на ODBC %1 беше неуспешно (код %2).</translation>
    </message>
    <message>
        <source>Nodul clusterului Galera prin care se conecteaza aceasta sursa de date este despartit de celelalte noduri (nu face parte din componenta principala a clusterului) si nu primeste comenzi; conversia se face printr-un nod legat de cluster.</source>
        <translation>Възелът на клъстера Galera, през който се свързва този източник на данни, е отделен от останалите възли (не е част от основния компонент на клъстера) и не приема команди; конвертирането се извършва през възел, свързан с клъстера.</translation>
    </message>
    <message>
        <source>Tranzactia depaseste numarul de inregistrari pe care clusterul Galera il accepta intr-o singura tranzactie (variabila wsrep_max_ws_rows a serverului); nicio suma nu a fost schimbata. Administratorul bazei de date poate mari limita pe fiecare nod, de exemplu cu SET GLOBAL wsrep_max_ws_rows = 0 (fara limita) si in fisierul de configurare al serverului, sectiunea [galera]; apoi conversia se reia.</source>
        <translation>Транзакцията надхвърля броя записи, които клъстерът Galera приема в една транзакция (променливата wsrep_max_ws_rows на сървъра); никоя сума не е променена. Администраторът на базата данни може да увеличи ограничението на всеки възел, например със SET GLOBAL wsrep_max_ws_rows = 0 (без ограничение) и в конфигурационния файл на сървъра, раздел [galera]; след това преобразуването се повтаря.</translation>
    </message>
    <message>
        <source>Tranzactia depaseste marimea pe care clusterul Galera o accepta intr-o singura tranzactie (variabila wsrep_max_ws_size a serverului); nicio suma nu a fost schimbata. Administratorul bazei de date poate mari limita pe fiecare nod, pana la SET GLOBAL wsrep_max_ws_size = 2147483647 (2 GB), si in fisierul de configurare al serverului, sectiunea [galera]; apoi conversia se reia.</source>
        <translation>Транзакцията надхвърля размера, който клъстерът Galera приема в една транзакция (променливата wsrep_max_ws_size на сървъра); никоя сума не е променена. Администраторът на базата данни може да увеличи ограничението на всеки възел, до SET GLOBAL wsrep_max_ws_size = 2147483647 (2 GB), и в конфигурационния файл на сървъра, раздел [galera]; след това преобразуването се повтаря.</translation>
    </message>
    <message>
        <source>Clusterul Galera a refuzat tranzactia: alt nod al clusterului a modificat in acelasi timp aceleasi inregistrari (conflict de certificare). Tranzactia a fost anulata si nicio suma nu a fost schimbata; conversia se poate relua.</source>
        <translation>Клъстерът Galera отказа транзакцията: друг възел на клъстера промени едновременно същите записи (конфликт при сертифициране). Транзакцията беше отменена и никоя сума не е променена; преобразуването може да се повтори.</translation>
    </message>
    <message>
        <source>Nodul clusterului Galera prin care se conecteaza aceasta sursa de date nu facea parte din componenta principala a clusterului cand tranzactia a fost trimisa celorlalte noduri (de exemplu, un alt nod tocmai se oprise). Tranzactia a fost anulata si nicio suma nu a fost schimbata; conversia se poate relua.</source>
        <translation>Възелът на клъстера Galera, през който се свързва този източник на данни, не беше част от основния компонент на клъстера, когато транзакцията беше изпратена до другите възли (например друг възел току-що беше спрял). Транзакцията беше отменена и никоя сума не е променена; преобразуването може да се повтори.</translation>
    </message>
</context>
<context>
    <name>ProjectFile</name>
    <message>
        <source>Copia de lucru &quot;%1&quot; nu poate fi citita: %2</source>
        <translation>Работното копие &quot;%1&quot; не може да бъде прочетено: %2</translation>
    </message>
    <message>
        <source>&quot;%1&quot; este un director.</source>
        <translation>&quot;%1&quot; е директория.</translation>
    </message>
    <message>
        <source>Fisierul &quot;%1&quot; nu poate fi scris: %2</source>
        <translation>Файлът &quot;%1&quot; не може да бъде записан: %2</translation>
    </message>
    <message>
        <source>Tabelul tConfig al proiectului nu are niciun rand.</source>
        <translation>Таблицата tConfig на проекта няма нито един ред.</translation>
    </message>
</context>
<context>
    <name>ProjectHost</name>
    <message>
        <source>Nu este deschis niciun proiect.</source>
        <translation>Няма отворен проект.</translation>
    </message>
    <message>
        <source>Conexiunea la proiect nu este deschisa.</source>
        <translation>Връзката с проекта не е отворена.</translation>
    </message>
</context>
<context>
    <name>ProjectLock</name>
    <message>
        <source>necunoscut</source>
        <extracomment>Stands for the name of a program or of a computer that is not known.</extracomment>
        <translation>неизвестно</translation>
    </message>
    <message>
        <source>Proiectul &quot;%1&quot; este deschis de alt program: %2, procesul %3 de pe calculatorul %4.
Proiectul poate fi deschis dupa ce acel program il inchide.</source>
        <translation>Проектът &quot;%1&quot; е отворен от друга програма: %2, процес %3 на компютъра %4.
Проектът може да бъде отворен, след като тази програма го затвори.</translation>
    </message>
    <message>
        <source>Proiectul &quot;%1&quot; este deschis de alt program (fisierul &quot;%2&quot;).
Proiectul poate fi deschis dupa ce acel program il inchide.</source>
        <translation>Проектът &quot;%1&quot; е отворен от друга програма (файл &quot;%2&quot;).
Проектът може да бъде отворен, след като тази програма го затвори.</translation>
    </message>
    <message>
        <source>Proiectul &quot;%1&quot; nu poate fi rezervat pentru acest program: fisierul &quot;%2&quot; nu poate fi creat (folderul proiectului nu poate fi scris).</source>
        <translation>Проектът &quot;%1&quot; не може да бъде резервиран за тази програма: файлът &quot;%2&quot; не може да бъде създаден (в папката на проекта не може да се записва).</translation>
    </message>
    <message>
        <source>Proiectul &quot;%1&quot; nu poate fi rezervat pentru acest program: fisierul &quot;%2&quot; nu poate fi creat (folderul proiectului nu exista sau nu poate fi folosit).</source>
        <translation>Проектът &quot;%1&quot; не може да бъде резервиран за тази програма: файлът &quot;%2&quot; не може да бъде създаден (папката на проекта не съществува или не може да бъде използвана).</translation>
    </message>
</context>
<context>
    <name>Recordset</name>
    <message>
        <source>Operatia nu este permisa cand obiectul este inchis.</source>
        <translation>Операцията не е разрешена, когато обектът е затворен.</translation>
    </message>
    <message>
        <source>Nu exista o inregistrare curenta.</source>
        <translation>Няма текущ запис.</translation>
    </message>
    <message>
        <source>Elementul nu poate fi gasit in colectie.</source>
        <translation>Елементът не може да бъде намерен в колекцията.</translation>
    </message>
    <message>
        <source>Campul &quot;%1&quot; nu poate fi gasit in colectie.</source>
        <translation>Полето &quot;%1&quot; не може да бъде намерено в колекцията.</translation>
    </message>
    <message>
        <source>Filtrul &quot;%1&quot; nu poate fi aplicat.</source>
        <translation>Филтърът &quot;%1&quot; не може да бъде приложен.</translation>
    </message>
    <message>
        <source>Setul de inregistrari nu poate fi actualizat.</source>
        <translation>Наборът от записи не може да бъде обновен.</translation>
    </message>
</context>
<context>
    <name>RecoveryColumnFit</name>
    <message>
        <source>fara tip declarat</source>
        <translation>без деклариран тип</translation>
    </message>
    <message>
        <source>Coloana de restaurare &quot;%1&quot; exista deja in tabel, cu tipul %2, care nu poate pastra exact sumele coloanei &quot;%3&quot; (%4); campul nu a fost convertit. Stergeti coloana de restaurare sau dati-i tipul coloanei campului, apoi reluati conversia.</source>
        <extracomment>%1 the recovery column, %2 its type, %3 the amount column, %4 its type</extracomment>
        <translation>Колоната за възстановяване &quot;%1&quot; вече съществува в таблицата с тип %2, който не може да съхрани точно сумите от колоната &quot;%3&quot; (%4); полето не беше конвертирано. Изтрийте колоната за възстановяване или ѝ задайте типа на колоната на полето, след което стартирайте конвертирането отново.</translation>
    </message>
</context>
<context>
    <name>RecoveryField</name>
    <message>
        <source>Informatie lipsa in metadate</source>
        <translation>Липсва информация в метаданните</translation>
    </message>
    <message>
        <source>Nu poate fi folosit tipul %1</source>
        <extracomment>%1 is the name of a database type (&quot;Date&quot;, &quot;VarChar&quot;), kept as it is</extracomment>
        <translation>Типът %1 не може да бъде използван</translation>
    </message>
    <message>
        <source>Campul &quot;%1&quot; deja exista in tabel.</source>
        <translation>Полето &quot;%1&quot; вече съществува в таблицата.</translation>
    </message>
</context>
<context>
    <name>ReportLog</name>
    <message numerus="yes">
        <source>Sursa de date &quot;%1&quot; sarita: %2; %n campuri neconvertite</source>
        <translation>
            <numerusform>Източникът на данни &quot;%1&quot; е пропуснат: %2; %n поле не е конвертирано</numerusform>
            <numerusform>Източникът на данни &quot;%1&quot; е пропуснат: %2; %n полета не са конвертирани</numerusform>
        </translation>
    </message>
    <message>
        <source>Durata pe camp</source>
        <translation>Продължителност по поле</translation>
    </message>
    <message>
        <source>Inceput Conversie: %1</source>
        <translation>Начало на конвертирането: %1</translation>
    </message>
    <message>
        <source>Final Conversie: %1</source>
        <translation>Край на конвертирането: %1</translation>
    </message>
    <message numerus="yes">
        <source>%n campuri din %1 convertite cu succes</source>
        <extracomment>%n: the fields converted; %1: the fields attempted.</extracomment>
        <translation>
            <numerusform>%n поле от %1 е конвертирано успешно</numerusform>
            <numerusform>%n полета от %1 са конвертирани успешно</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n erori de conversie</source>
        <translation>
            <numerusform>%n грешка при конвертиране</numerusform>
            <numerusform>%n грешки при конвертиране</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n inregistrari</source>
        <translation>
            <numerusform>%n запис</numerusform>
            <numerusform>%n записа</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n inregistrari (%1)</source>
        <translation>
            <numerusform>%n запис (%1)</numerusform>
            <numerusform>%n записа (%1)</numerusform>
        </translation>
    </message>
    <message>
        <source>Total sursa de date</source>
        <translation>Общо за източника на данни</translation>
    </message>
    <message>
        <source>Total conversie</source>
        <translation>Общо за конвертирането</translation>
    </message>
    <message>
        <source>Totaluri de control</source>
        <translation>Контролни суми</translation>
    </message>
    <message>
        <source>Sursa Date</source>
        <translation>Източник на данни</translation>
    </message>
    <message>
        <source>Tabel</source>
        <translation>Таблица</translation>
    </message>
    <message>
        <source>Camp</source>
        <translation>Поле</translation>
    </message>
    <message>
        <source>Fisierul &quot;%1&quot; nu poate fi scris: %2</source>
        <translation>Файлът &quot;%1&quot; не може да бъде записан: %2</translation>
    </message>
</context>
<context>
    <name>ReportPrint</name>
    <message>
        <source>Pagina %1 din %2</source>
        <translation>Страница %1 от %2</translation>
    </message>
    <message>
        <source>Raport conversie: %1</source>
        <translation>Отчет за конвертирането: %1</translation>
    </message>
    <message>
        <source>Fisierul &quot;%1&quot; nu poate fi scris: %2</source>
        <translation>Файлът &quot;%1&quot; не може да бъде записан: %2</translation>
    </message>
    <message>
        <source>ramas in %1</source>
        <extracomment>The state of a field the run could not convert: %1 is the currency&apos;s code, as &quot;ROL&quot;.</extracomment>
        <translation>останало в %1</translation>
    </message>
    <message>
        <source>convertit in %1</source>
        <extracomment>The state of a converted field: %1 is the currency&apos;s code, as &quot;RON&quot;.</extracomment>
        <translation>конвертирано в %1</translation>
    </message>
    <message>
        <source>Proiect: %1</source>
        <translation>Проект: %1</translation>
    </message>
    <message>
        <source>Trecerea: %1 -&gt; %2 (1 %3 = %4 %5)</source>
        <extracomment>The currencies of the run, from and to, and the changeover&apos;s rate: &quot;ROL -&gt; RON (1 RON = 10000 ROL)&quot;.</extracomment>
        <translation>Преминаване: %1 -&gt; %2 (1 %3 = %4 %5)</translation>
    </message>
    <message>
        <source>Utilizator: %1, calculator: %2</source>
        <translation>Потребител: %1, компютър: %2</translation>
    </message>
    <message>
        <source>Optiuni: %1</source>
        <translation>Опции: %1</translation>
    </message>
    <message>
        <source>Campuri</source>
        <translation>Полета</translation>
    </message>
    <message>
        <source>Sursa Date</source>
        <translation>Източник на данни</translation>
    </message>
    <message>
        <source>Tabel</source>
        <translation>Таблица</translation>
    </message>
    <message>
        <source>Camp</source>
        <translation>Поле</translation>
    </message>
    <message>
        <source>Inregistrari</source>
        <translation>Записи</translation>
    </message>
    <message>
        <source>Stare</source>
        <translation>Състояние</translation>
    </message>
    <message>
        <source>Observatii / Eroare</source>
        <translation>Бележки / Грешка</translation>
    </message>
    <message>
        <source>Totaluri de control</source>
        <translation>Контролни суми</translation>
    </message>
    <message>
        <source>Total</source>
        <extracomment>The row that sums the whole run.</extracomment>
        <translation>Общо</translation>
    </message>
    <message>
        <source>Intocmit de (nume, functie):</source>
        <translation>Изготвил (име, длъжност):</translation>
    </message>
    <message>
        <source>Semnatura:</source>
        <translation>Подпис:</translation>
    </message>
    <message>
        <source>Data:</source>
        <extracomment>The date the report is signed on.</extracomment>
        <translation>Дата:</translation>
    </message>
    <message>
        <source>Raportul nu poate fi desenat pe aceasta pagina.</source>
        <translation>Отчетът не може да бъде изобразен на тази страница.</translation>
    </message>
</context>
<context>
    <name>ReportView</name>
    <message>
        <source>Sursa Date</source>
        <translation>Източник на данни</translation>
    </message>
    <message>
        <source>Tabel</source>
        <translation>Таблица</translation>
    </message>
    <message>
        <source>Camp</source>
        <translation>Поле</translation>
    </message>
    <message>
        <source>Numar Inregistrari</source>
        <translation>Брой записи</translation>
    </message>
    <message>
        <source>Eroare</source>
        <translation>Грешка</translation>
    </message>
    <message>
        <source>Observatii</source>
        <translation>Бележки</translation>
    </message>
    <message>
        <source>Campuri</source>
        <translation>Полета</translation>
    </message>
    <message>
        <source>Totaluri de control</source>
        <translation>Контролни суми</translation>
    </message>
    <message>
        <source>Salveaza...</source>
        <translation>Запиши...</translation>
    </message>
    <message>
        <source>Salveaza PDF...</source>
        <translation>Запиши PDF...</translation>
    </message>
    <message>
        <source>Tipareste...</source>
        <translation>Печат...</translation>
    </message>
    <message>
        <source>Inchide</source>
        <translation>Затвори</translation>
    </message>
    <message>
        <source>Total</source>
        <extracomment>The row that sums the whole run.</extracomment>
        <translation>Общо</translation>
    </message>
    <message>
        <source>Toate Fisierele</source>
        <translation>Всички файлове</translation>
    </message>
    <message>
        <source>Salveaza raport conversie</source>
        <translation>Запис на отчета за конвертирането</translation>
    </message>
    <message>
        <source>Fisiere Text</source>
        <translation>Текстови файлове</translation>
    </message>
    <message>
        <source>Salveaza raport conversie ca PDF</source>
        <translation>Запис на отчета за конвертирането като PDF</translation>
    </message>
    <message>
        <source>Fisiere PDF</source>
        <translation>PDF файлове</translation>
    </message>
    <message>
        <source>Raport conversie</source>
        <translation>Отчет за конвертирането</translation>
    </message>
    <message>
        <source>Tipareste raportul conversiei</source>
        <translation>Печат на отчета за конвертирането</translation>
    </message>
    <message>
        <source>Raportul nu a putut fi tiparit la &quot;%1&quot;.</source>
        <translation>Отчетът не можа да бъде отпечатан на &quot;%1&quot;.</translation>
    </message>
</context>
<context>
    <name>Rounding</name>
    <message>
        <source>Obisnuita: de la jumatate in sus</source>
        <extracomment>The usual rounding rule: halves away from zero</extracomment>
        <translation>Обичайно: от половината нагоре</translation>
    </message>
    <message>
        <source>SUS: salarii, pensii (niciodata mai putin)</source>
        <extracomment>&quot;SUS&quot; is the rule&apos;s stored name, kept as it is</extracomment>
        <translation>НАГОРЕ: заплати, пенсии (никога по-малко)</translation>
    </message>
    <message>
        <source>Cand prima zecimala dupa cele pastrate nu este zero, ultima zecimala pastrata creste cu unu (departe de zero la sumele negative)</source>
        <translation>Когато първият знак след запазените десетични знаци не е нула, последният запазен десетичен знак се увеличава с единица (в посока от нулата при отрицателни суми)</translation>
    </message>
    <message>
        <source>obisnuita</source>
        <extracomment>The usual rounding rule, as the table window lists a field&apos;s rule</extracomment>
        <translation>обичайно</translation>
    </message>
</context>
<context>
    <name>RunHistory</name>
    <message>
        <source>Istoricul nu poate fi scris in &quot;%1&quot;: %2</source>
        <translation>Историята не може да бъде записана в &quot;%1&quot;: %2</translation>
    </message>
    <message>
        <source>intrerupta</source>
        <extracomment>A run that ended without writing its end (killed, a power cut).</extracomment>
        <translation>прекъснато</translation>
    </message>
    <message>
        <source>oprita de utilizator</source>
        <extracomment>A run the user stopped.</extracomment>
        <translation>спряно от потребителя</translation>
    </message>
    <message>
        <source>terminata</source>
        <extracomment>A run that ended by itself.</extracomment>
        <translation>завършено</translation>
    </message>
    <message>
        <source>Istoricul conversiilor din &quot;%1&quot; nu a putut fi trecut in proiect: %2</source>
        <translation>Историята на конвертиранията от &quot;%1&quot; не можа да бъде прехвърлена в проекта: %2</translation>
    </message>
</context>
<context>
    <name>SourceJob</name>
    <message>
        <source>Argumente gresite pentru conversia unei surse de date.</source>
        <translation>Грешни аргументи за конвертирането на източник на данни.</translation>
    </message>
    <message>
        <source>sursa de date &quot;%1&quot;: %2</source>
        <translation>източник на данни &quot;%1&quot;: %2</translation>
    </message>
</context>
<context>
    <name>SourceJobs</name>
    <message>
        <source>campuri %1/%2</source>
        <extracomment>Fields done of all in the progress line.</extracomment>
        <translation>полета %1/%2</translation>
    </message>
    <message>
        <source>campuri %1</source>
        <extracomment>Fields done in the progress line, when their total is not known.</extracomment>
        <translation>полета %1</translation>
    </message>
    <message>
        <source>Oprire ceruta: conversia se opreste dupa campul curent al fiecarei surse de date.</source>
        <translation>Поискано е спиране: конвертирането ще спре след текущото поле на всеки източник на данни.</translation>
    </message>
    <message>
        <source>scurs %1</source>
        <extracomment>The time the run has taken so far.</extracomment>
        <translation>изминало %1</translation>
    </message>
    <message>
        <source>ramas ~%1</source>
        <extracomment>An estimate of the time the run still needs.</extracomment>
        <translation>остава ~%1</translation>
    </message>
    <message>
        <source>procesul care o converteste s-a oprit neasteptat</source>
        <extracomment>Why a data source was passed over; follows its name.</extracomment>
        <translation>процесът, който го конвертира, спря неочаквано</translation>
    </message>
    <message>
        <source>procesul care o converteste s-a oprit neasteptat (codul %1)</source>
        <translation>процесът, който го конвертира, спря неочаквано (код %1)</translation>
    </message>
    <message>
        <source>starea campurilor sursei de date &quot;%1&quot; nu a putut fi trecuta in proiect (ea va fi citita din nou din baza de date la urmatoarea rulare): %2</source>
        <translation>състоянието на полетата на източника на данни &quot;%1&quot; не можа да бъде прехвърлено в проекта (то ще бъде прочетено отново от базата данни при следващото изпълнение): %2</translation>
    </message>
    <message>
        <source>copia proiectului pentru ea nu a putut fi facuta</source>
        <extracomment>Why a data source was passed over; follows its name.</extracomment>
        <translation>копието на проекта за него не можа да бъде направено</translation>
    </message>
    <message>
        <source>programul nu a putut porni conversia ei: %1</source>
        <extracomment>Why a data source was passed over; %1 is the system&apos;s reason.</extracomment>
        <translation>програмата не можа да стартира конвертирането му: %1</translation>
    </message>
</context>
<context>
    <name>SourceReader</name>
    <message>
        <source>fara tip declarat</source>
        <translation>без деклариран тип</translation>
    </message>
</context>
<context>
    <name>SqlScan</name>
    <message>
        <source>Comanda contine mai multe instructiuni SQL; este permisa una singura.</source>
        <translation>Командата съдържа няколко SQL инструкции; разрешена е само една.</translation>
    </message>
    <message>
        <source>Comanda contine caractere care nu sunt text UTF-8 valid (afisate ca &quot;%1&quot;); corectati textul.</source>
        <translation>Командата съдържа знаци, които не са валиден текст в UTF-8 (показани като &quot;%1&quot;); коригирайте текста.</translation>
    </message>
    <message>
        <source>Clauza WHERE contine caractere care nu sunt text UTF-8 valid (afisate ca &quot;%1&quot;); corectati textul.</source>
        <translation>Клаузата WHERE съдържа знаци, които не са валиден текст в UTF-8 (показани като &quot;%1&quot;); коригирайте текста.</translation>
    </message>
    <message>
        <source>Numele campului contine caractere care nu sunt text UTF-8 valid (afisate ca &quot;%1&quot;); corectati textul.</source>
        <translation>Името на полето съдържа знаци, които не са валиден текст в UTF-8 (показани като &quot;%1&quot;); коригирайте текста.</translation>
    </message>
    <message>
        <source>Numele tabelului contine caractere care nu sunt text UTF-8 valid (afisate ca &quot;%1&quot;); corectati textul.</source>
        <translation>Името на таблицата съдържа знаци, които не са валиден текст в UTF-8 (показани като &quot;%1&quot;); коригирайте текста.</translation>
    </message>
</context>
<context>
    <name>SqliteProvider</name>
    <message>
        <source>Inregistrarea nu mai exista in tabelul %1.</source>
        <translation>Записът вече не съществува в таблицата %1.</translation>
    </message>
    <message>
        <source>Operatia nu este permisa cand conexiunea este inchisa.</source>
        <translation>Операцията не е разрешена, когато връзката е затворена.</translation>
    </message>
    <message>
        <source>Inregistrarea nu poate fi actualizata: lipseste cheia tabelului %1.</source>
        <translation>Записът не може да бъде обновен: липсва ключът на таблицата %1.</translation>
    </message>
    <message>
        <source>Comanda nu contine nicio instructiune SQL.</source>
        <translation>Командата не съдържа нито една SQL инструкция.</translation>
    </message>
    <message>
        <source>Tabelul %1 nu exista.</source>
        <translation>Таблицата %1 не съществува.</translation>
    </message>
    <message>
        <source>Coloana %1 nu exista in tabelul %2.</source>
        <translation>Колоната %1 не съществува в таблицата %2.</translation>
    </message>
    <message>
        <source>Conexiunea a fost inchisa, iar baza de date a anulat tranzactia: nimic din ea nu a fost salvat.</source>
        <translation>Връзката беше затворена и базата данни отмени транзакцията: нищо от нея не беше записано.</translation>
    </message>
    <message>
        <source>Fisierul bazei de date nu exista: %1</source>
        <translation>Файлът на базата данни не съществува: %1</translation>
    </message>
</context>
<context>
    <name>SqliteRateFunction</name>
    <message>
        <source>Valoarea &quot;%1&quot; nu este un numar.</source>
        <translation>Стойността &quot;%1&quot; не е число.</translation>
    </message>
    <message>
        <source>Regula de rotunjire &quot;%1&quot; nu este cunoscuta.</source>
        <translation>Правилото за закръгляване &quot;%1&quot; е неизвестно.</translation>
    </message>
    <message>
        <source>Cursul &quot;%1&quot; sau numarul de zecimale %2 nu pot fi folosite.</source>
        <translation>Курсът &quot;%1&quot; или броят десетични знаци %2 не могат да бъдат използвани.</translation>
    </message>
</context>
<context>
    <name>TableStateProbe</name>
    <message>
        <source>Tabelul &quot;%1&quot; nu a fost gasit in sursa de date &quot;%2&quot;; campul nu a fost convertit, iar starea lui inregistrata a ramas neschimbata.</source>
        <translation>Таблицата &quot;%1&quot; не беше намерена в източника на данни &quot;%2&quot;; полето не беше конвертирано и записаното му състояние остана непроменено.</translation>
    </message>
    <message>
        <source>Coloana &quot;%1&quot; nu a fost gasita in tabelul &quot;%2&quot; al sursei de date &quot;%3&quot;; campul nu a fost convertit, iar starea lui inregistrata a ramas neschimbata.</source>
        <translation>Колоната &quot;%1&quot; не беше намерена в таблицата &quot;%2&quot; на източника на данни &quot;%3&quot;; полето не беше конвертирано и записаното му състояние остана непроменено.</translation>
    </message>
</context>
<context>
    <name>TemplateTexts</name>
    <message>
        <source>Lei VECHI</source>
        <extracomment>The currency before the 2005 denomination of the leu.</extracomment>
        <translation>СТАРИ леи</translation>
    </message>
    <message>
        <source>Lei NOI</source>
        <extracomment>The currency after the 2005 denomination of the leu.</extracomment>
        <translation>НОВИ леи</translation>
    </message>
    <message>
        <source>Leu romanesc: 10 000 lei vechi (ROL) = 1 leu nou (RON), denominarea din 1 iulie 2005</source>
        <translation>Румънска лея: 10 000 стари леи (ROL) = 1 нова лея (RON), деноминацията от 1 юли 2005 г.</translation>
    </message>
    <message>
        <source>Lev bulgaresc in euro: 1 EUR = 1,95583 BGN, de la 1 ianuarie 2026</source>
        <translation>Български лев в евро: 1 EUR = 1,95583 BGN, от 1 януари 2026 г.</translation>
    </message>
    <message>
        <source>Kuna croata in euro: 1 EUR = 7,53450 HRK, de la 1 ianuarie 2023</source>
        <translation>Хърватска куна в евро: 1 EUR = 7,53450 HRK, от 1 януари 2023 г.</translation>
    </message>
    <message>
        <source>Oracle Data Server</source>
        <extracomment>A kind of data source.</extracomment>
        <translation>Сървър за данни Oracle</translation>
    </message>
    <message>
        <source>FoxPro Free Table Directory</source>
        <extracomment>A kind of data source: a folder of dBASE/FoxPro tables.</extracomment>
        <translation>Директория със свободни таблици FoxPro</translation>
    </message>
    <message>
        <source>Visual FoxPro Project</source>
        <extracomment>A kind of data source.</extracomment>
        <translation>Проект на Visual FoxPro</translation>
    </message>
    <message>
        <source>Unknown Data Source</source>
        <extracomment>A kind of data source: any other ODBC data source.</extracomment>
        <translation>Неизвестен източник на данни</translation>
    </message>
</context>
<context>
    <name>TerminalOutput</name>
    <message>
        <source>Oprire ceruta: conversia se opreste dupa campul curent.</source>
        <translation>Поискано е спиране: конвертирането ще спре след текущото поле.</translation>
    </message>
    <message>
        <source>campuri %1/%2</source>
        <translation>полета %1/%2</translation>
    </message>
    <message>
        <source>campuri %1</source>
        <translation>полета %1</translation>
    </message>
    <message>
        <source>scurs %1</source>
        <extracomment>The time the run has taken so far.</extracomment>
        <translation>изминало %1</translation>
    </message>
    <message>
        <source>ramas ~%1</source>
        <extracomment>An estimate of the time the run still needs.</extracomment>
        <translation>остава ~%1</translation>
    </message>
    <message>
        <source>ramas &gt;%1</source>
        <extracomment>The least time the run still needs (the current field runs longer than the others took).</extracomment>
        <translation>остава &gt;%1</translation>
    </message>
    <message>
        <source>%1 (in lucru)</source>
        <extracomment>A line written now and then while one field runs long: the progress line, then &quot;still working&quot;.</extracomment>
        <translation>%1 (в процес)</translation>
    </message>
</context>
<context>
    <name>Vamor</name>
    <message>
        <source>Programul cu ferestre are nevoie de un ecran (variabila DISPLAY nu este setata).
Conversia fara ferestre: vamor --convert PROIECT.vmd --to noi|vechi (vamor --help spune mai mult).</source>
        <translation>Програмата с прозорци се нуждае от екран (променливата DISPLAY не е зададена).
Конвертиране без прозорци: vamor --convert ПРОЕКТ.vmd --to noi|vechi (vamor --help казва повече).</translation>
    </message>
</context>
<context>
    <name>WaitDialog</name>
    <message>
        <source>%1 (%2 s)</source>
        <extracomment>The seconds waited so far, after what is waited for.</extracomment>
        <translation>%1 (%2 с)</translation>
    </message>
    <message>
        <source>Abandoneaza</source>
        <translation>Отказ</translation>
    </message>
    <message>
        <source>Se opreste...</source>
        <translation>Спиране...</translation>
    </message>
</context>
<context>
    <name>Waits</name>
    <message>
        <source>%1 s</source>
        <extracomment>A wait in seconds, as &quot;30 s&quot; or &quot;0,5 s&quot;.</extracomment>
        <translation>%1 с</translation>
    </message>
    <message>
        <source>,</source>
        <extracomment>The decimal separator of a wait in seconds, as in &quot;0,5 s&quot;.</extracomment>
        <translation>,</translation>
    </message>
    <message>
        <source>Tabelul &quot;%1&quot; este blocat de alt program; timpul de asteptare (%2) a expirat</source>
        <translation>Таблицата &quot;%1&quot; е заключена от друга програма; времето за изчакване (%2) изтече</translation>
    </message>
</context>
<context>
    <name>WorkingCopy</name>
    <message>
        <source>Fisierul &quot;%1&quot; nu poate fi citit: este un director</source>
        <translation>Файлът &quot;%1&quot; не може да бъде прочетен: той е директория</translation>
    </message>
    <message>
        <source>Fisierul &quot;%1&quot; nu poate fi citit: %2</source>
        <translation>Файлът &quot;%1&quot; не може да бъде прочетен: %2</translation>
    </message>
    <message>
        <source>Copia de lucru &quot;%1&quot; nu poate fi creata: fisierul &quot;%2&quot; nu poate fi scris in folderul programului.</source>
        <translation>Работното копие &quot;%1&quot; не може да бъде създадено: файлът &quot;%2&quot; не може да бъде записан в папката на програмата.</translation>
    </message>
    <message>
        <source>Copia de lucru &quot;%1&quot; nu poate fi creata: %2</source>
        <translation>Работното копие &quot;%1&quot; не може да бъде създадено: %2</translation>
    </message>
    <message>
        <source>Fisierul &quot;%1&quot; nu poate fi copiat in &quot;%2&quot;: %3</source>
        <translation>Файлът &quot;%1&quot; не може да бъде копиран в &quot;%2&quot;: %3</translation>
    </message>
    <message>
        <source>Copia de lucru &quot;%1&quot; nu poate fi creata.</source>
        <translation>Работното копие &quot;%1&quot; не може да бъде създадено.</translation>
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
        <translation>Сървър за данни Oracle</translation>
    </message>
    <message>
        <source>FoxPro Free Table Directory</source>
        <translation>Директория със свободни таблици FoxPro</translation>
    </message>
    <message>
        <source>Visual FoxPro Project</source>
        <translation>Проект на Visual FoxPro</translation>
    </message>
    <message>
        <source>DBase</source>
        <translation>DBase</translation>
    </message>
    <message>
        <source>Unknown Data Source</source>
        <translation>Неизвестен източник на данни</translation>
    </message>
    <message>
        <source>Cale spre fisier Microsoft Access (*.mdb)|*.mdb|Toate Fisierele (*.*)|*.*</source>
        <extracomment>A file filter: description|patterns pairs joined by &quot;|&quot;. Only the descriptions are translated.</extracomment>
        <translation>Път до файл на Microsoft Access (*.mdb)|*.mdb|Всички файлове (*.*)|*.*</translation>
    </message>
    <message>
        <source>Cale spre fisier de securitate Microsoft Access (*.mdw;*.mda)|*.mdw;*.mda|Toate Fisierele (*.*)|*.*</source>
        <extracomment>A file filter: description|patterns pairs joined by &quot;|&quot;. Only the descriptions are translated.</extracomment>
        <translation>Път до файл за защита на Microsoft Access (*.mdw;*.mda)|*.mdw;*.mda|Всички файлове (*.*)|*.*</translation>
    </message>
    <message>
        <source>Cale spre fisier DBase (*.dbf)|*.dbf|Toate Fisierele (*.*)|*.*</source>
        <extracomment>A file filter: description|patterns pairs joined by &quot;|&quot;. Only the descriptions are translated.</extracomment>
        <translation>Път до файл на DBase (*.dbf)|*.dbf|Всички файлове (*.*)|*.*</translation>
    </message>
    <message>
        <source>Cale spre fisierele FoxPro (*.dbf)|*.dbf|Toate Fisierele (*.*)|*.*</source>
        <extracomment>A file filter: description|patterns pairs joined by &quot;|&quot;. Only the descriptions are translated.</extracomment>
        <translation>Път до файловете на FoxPro (*.dbf)|*.dbf|Всички файлове (*.*)|*.*</translation>
    </message>
    <message>
        <source>Baza de date securizata</source>
        <translation>Защитена база данни</translation>
    </message>
    <message>
        <source>Baza de date:</source>
        <translation>База данни:</translation>
    </message>
    <message>
        <source>Parola pe baza de date:</source>
        <translation>Парола за базата данни:</translation>
    </message>
    <message>
        <source>Fisier Securitate:</source>
        <translation>Файл за защита:</translation>
    </message>
    <message>
        <source>Utilizator:</source>
        <translation>Потребител:</translation>
    </message>
    <message>
        <source>Parola:</source>
        <translation>Парола:</translation>
    </message>
    <message>
        <source>Securitate Integrata</source>
        <translation>Интегрирана защита</translation>
    </message>
    <message>
        <source>Server:</source>
        <translation>Сървър:</translation>
    </message>
    <message>
        <source>Host:</source>
        <translation>Хост:</translation>
    </message>
    <message>
        <source>Cale:</source>
        <translation>Път:</translation>
    </message>
    <message>
        <source>Calea:</source>
        <translation>Път:</translation>
    </message>
    <message>
        <source>String de conectare:</source>
        <translation>Низ за връзка:</translation>
    </message>
    <message>
        <source>Elementul %1 al panourilor nu exista.</source>
        <translation>Елементът %1 на панелите не съществува.</translation>
    </message>
    <message>
        <source>Calea spre fisierul Microsoft Access nu este specificata</source>
        <translation>Не е посочен път до файла на Microsoft Access</translation>
    </message>
    <message>
        <source>Serverul Microsoft SQL Server nu este specificat</source>
        <translation>Не е посочен сървър на Microsoft SQL Server</translation>
    </message>
    <message>
        <source>Baza de date Microsoft SQL Server nu este specificata</source>
        <translation>Не е посочена база данни на Microsoft SQL Server</translation>
    </message>
    <message>
        <source>Utilizatorul de conectare nu este specificat</source>
        <translation>Не е посочен потребител за връзката</translation>
    </message>
    <message>
        <source>Hostul Oracle nu este specificat</source>
        <translation>Не е посочен хост на Oracle</translation>
    </message>
    <message>
        <source>Parola de conectare nu este specificata</source>
        <translation>Не е посочена парола за връзката</translation>
    </message>
    <message>
        <source>Calea &quot;%1&quot; nu contine un dosar.</source>
        <translation>Пътят &quot;%1&quot; не съдържа папка.</translation>
    </message>
</context>
<context>
    <name>frmAbout</name>
    <message>
        <source>Despre %1</source>
        <translation>Относно %1</translation>
    </message>
    <message>
        <source>Denominarea monedei nationale</source>
        <translation>Деноминация на националната валута</translation>
    </message>
    <message>
        <source>Aplicatia este destinata conversiei bazelor de date care contin sume de bani din Lei VECHI in Lei NOI.</source>
        <translation>Приложението е предназначено за конвертиране на бази данни, които съдържат парични суми, от СТАРИ леи в НОВИ леи.</translation>
    </message>
    <message>
        <source>Procesul de conversie se numeste DENOMINARE si a fost reglementat prin Legea nr. 348/2004.</source>
        <translation>Процесът на конвертиране се нарича ДЕНОМИНАЦИЯ и е уреден със Закон № 348/2004.</translation>
    </message>
    <message>
        <source>Folosirea aplicatiei este gratuita.</source>
        <translation>Използването на приложението е безплатно.</translation>
    </message>
    <message>
        <source>Intrebari, sugestii si erori semnalate:</source>
        <translation>Въпроси, предложения и съобщения за грешки:</translation>
    </message>
    <message>
        <source>Termene si Conditii</source>
        <translation>Условия за ползване</translation>
    </message>
    <message>
        <source>Inchide</source>
        <translation>Затвори</translation>
    </message>
</context>
<context>
    <name>frmConn</name>
    <message>
        <source>Sursa de date</source>
        <translation>Източник на данни</translation>
    </message>
    <message>
        <source>Tip:</source>
        <translation>Тип:</translation>
    </message>
    <message>
        <source>Descriere:</source>
        <translation>Описание:</translation>
    </message>
    <message>
        <source>Deconectat</source>
        <extracomment>The data source is not connected to (tick box and state).</extracomment>
        <translation>Без връзка</translation>
    </message>
    <message>
        <source>Cauta sume...</source>
        <translation>Търси суми...</translation>
    </message>
    <message>
        <source>Cauta in tabelele sursei de date coloanele care tin sume de bani</source>
        <translation>Търси в таблиците на източника на данни колоните, които съдържат парични суми</translation>
    </message>
    <message>
        <source>Se asteapta serverul sursei de date &quot;%1&quot;</source>
        <translation>Изчакване на сървъра на източника на данни &quot;%1&quot;</translation>
    </message>
    <message>
        <source>Testul conexiunii a fost abandonat; sursa de date nu a fost verificata.</source>
        <translation>Тестът на връзката беше прекъснат; източникът на данни не беше проверен.</translation>
    </message>
    <message>
        <source>Conectat
Vamor poate citi aceasta baza de date, dar nu poate scrie in ea (driverul ei este doar pentru citire): campurile ei nu pot fi convertite.</source>
        <translation>Свързан
Vamor може да чете тази база данни, но не може да записва в нея (драйверът ѝ е само за четене): полетата ѝ не могат да бъдат конвертирани.</translation>
    </message>
    <message>
        <source>Conectat</source>
        <translation>Свързан</translation>
    </message>
</context>
<context>
    <name>frmConnAdd</name>
    <message>
        <source>Adauga Sursa de Date</source>
        <translation>Добави източник на данни</translation>
    </message>
    <message>
        <source>Descriere:</source>
        <translation>Описание:</translation>
    </message>
    <message>
        <source>Lucreaza deconectat</source>
        <translation>Работа без връзка</translation>
    </message>
    <message>
        <source>Inapoi</source>
        <translation>Назад</translation>
    </message>
    <message>
        <source>Inainte</source>
        <translation>Напред</translation>
    </message>
    <message>
        <source>Ok</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Abandoneaza</source>
        <translation>Отказ</translation>
    </message>
    <message>
        <source>Proiectul nu este deschis.</source>
        <translation>Проектът не е отворен.</translation>
    </message>
    <message>
        <source>Trebuie sa specificati descrierea conexiunii</source>
        <translation>Трябва да въведете описание на връзката</translation>
    </message>
    <message>
        <source>Trebuie sa alegeti tipul conexiunii</source>
        <translation>Трябва да изберете тип на връзката</translation>
    </message>
    <message>
        <source>Trebuie sa specificati calea spre un fisier Microsoft Access.</source>
        <translation>Трябва да посочите пътя до файл на Microsoft Access.</translation>
    </message>
    <message>
        <source>Trebuie sa specificati serverul Microsoft SQL Server.</source>
        <translation>Трябва да посочите сървъра на Microsoft SQL Server.</translation>
    </message>
    <message>
        <source>Trebuie sa specificati baza de date Microsoft SQL Server.</source>
        <translation>Трябва да посочите базата данни на Microsoft SQL Server.</translation>
    </message>
    <message>
        <source>Trebuie sa specificati utilizatorul de conectare.</source>
        <translation>Трябва да посочите потребителя за връзката.</translation>
    </message>
    <message>
        <source>Trebuie sa specificati hostul Oracle.</source>
        <translation>Трябва да посочите хоста на Oracle.</translation>
    </message>
    <message>
        <source>Trebuie sa specificati parola de conectare.</source>
        <translation>Трябва да посочите паролата за връзката.</translation>
    </message>
</context>
<context>
    <name>frmConvertEnd</name>
    <message>
        <source>Raport Conversie</source>
        <translation>Отчет за конвертирането</translation>
    </message>
</context>
<context>
    <name>frmConvertStart</name>
    <message>
        <source>Confirmare Conversie</source>
        <translation>Потвърждаване на конвертирането</translation>
    </message>
    <message>
        <source>Sursa Date</source>
        <translation>Източник на данни</translation>
    </message>
    <message>
        <source>Tabel</source>
        <translation>Таблица</translation>
    </message>
    <message>
        <source>Camp</source>
        <translation>Поле</translation>
    </message>
    <message>
        <source>Observatii</source>
        <translation>Бележки</translation>
    </message>
    <message>
        <source>Totaluri de control</source>
        <translation>Контролни суми</translation>
    </message>
    <message>
        <source>Baza de date aduna sumele inainte si dupa conversie, pentru fiecare camp (o citire in plus a randurilor)</source>
        <translation>Базата данни сумира стойностите преди и след конвертирането за всяко поле (едно допълнително прочитане на редовете)</translation>
    </message>
    <message>
        <source>Ok</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Renunta</source>
        <translation>Отказ</translation>
    </message>
    <message>
        <source>Se opreste verificarea campurilor...</source>
        <translation>Спиране на проверката на полетата...</translation>
    </message>
    <message>
        <source>Se asteapta %1</source>
        <translation>Изчакване на %1</translation>
    </message>
    <message>
        <source>Verificarea campurilor a fost oprita.</source>
        <translation>Проверката на полетата беше спряна.</translation>
    </message>
</context>
<context>
    <name>frmDiscover</name>
    <message>
        <source>Cauta sume</source>
        <translation>Търсене на суми</translation>
    </message>
    <message>
        <source>Opreste</source>
        <translation>Спри</translation>
    </message>
    <message>
        <source>Filtru (tabel sau camp):</source>
        <translation>Филтър (таблица или поле):</translation>
    </message>
    <message>
        <source>Tabel</source>
        <translation>Таблица</translation>
    </message>
    <message>
        <source>Camp</source>
        <translation>Поле</translation>
    </message>
    <message>
        <source>Tip</source>
        <extracomment>The column&apos;s data type</extracomment>
        <translation>Тип</translation>
    </message>
    <message>
        <source>Inregistrari</source>
        <extracomment>Number of rows of the table</extracomment>
        <translation>Записи</translation>
    </message>
    <message>
        <source>Completate</source>
        <extracomment>Number of rows with a value in the column</extracomment>
        <translation>Попълнени</translation>
    </message>
    <message>
        <source>Minim</source>
        <translation>Минимум</translation>
    </message>
    <message>
        <source>Maxim</source>
        <translation>Максимум</translation>
    </message>
    <message>
        <source>Exemple</source>
        <translation>Примери</translation>
    </message>
    <message>
        <source>Dovezi</source>
        <extracomment>Evidence for and against the column holding money</extracomment>
        <translation>Признаци</translation>
    </message>
    <message>
        <source>Ok</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Abandoneaza</source>
        <translation>Отказ</translation>
    </message>
    <message>
        <source>Se opreste citirea...</source>
        <translation>Спиране на четенето...</translation>
    </message>
    <message>
        <source>Se citeste lista tabelelor...</source>
        <translation>Четене на списъка с таблици...</translation>
    </message>
    <message>
        <source>Cauta sume - %1</source>
        <translation>Търсене на суми - %1</translation>
    </message>
    <message>
        <source>sursa de date nu are sir de conectare</source>
        <translation>източникът на данни няма низ за връзка</translation>
    </message>
    <message>
        <source>Se citeste tabelul %1 din %2: %3</source>
        <translation>Четене на таблица %1 от %2: %3</translation>
    </message>
    <message>
        <source>Sursa de date nu a putut fi citita: %1</source>
        <translation>Източникът на данни не можа да бъде прочетен: %1</translation>
    </message>
    <message>
        <source>Citirea a fost oprita: lista are doar tabelele citite pana atunci.</source>
        <translation>Четенето беше спряно: списъкът съдържа само таблиците, прочетени дотогава.</translation>
    </message>
    <message numerus="yes">
        <source>Citire terminata: %n tabele.</source>
        <translation>
            <numerusform>Четенето завърши: %n таблица.</numerusform>
            <numerusform>Четенето завърши: %n таблици.</numerusform>
        </translation>
    </message>
    <message>
        <source>coloana de restaurare</source>
        <translation>колона за възстановяване</translation>
    </message>
    <message>
        <source>deja in proiect; %1</source>
        <translation>вече е в проекта; %1</translation>
    </message>
    <message numerus="yes">
        <source>%n coloane numerice in %1 tabele; %2 propuse, %3 bifate.</source>
        <extracomment>%n numeric columns in %1 tables; %2 of them proposed, %3 ticked</extracomment>
        <translation>
            <numerusform>%n числова колона в %1 таблици; %2 предложени, %3 отметнати.</numerusform>
            <numerusform>%n числови колони в %1 таблици; %2 предложени, %3 отметнати.</numerusform>
        </translation>
    </message>
    <message>
        <source>Tabele care nu au putut fi citite: %1.</source>
        <translation>Таблици, които не можаха да бъдат прочетени: %1.</translation>
    </message>
</context>
<context>
    <name>frmField</name>
    <message>
        <source>Camp</source>
        <translation>Поле</translation>
    </message>
    <message>
        <source>Nume Camp:</source>
        <translation>Име на поле:</translation>
    </message>
    <message>
        <source>Clauza WHERE:</source>
        <translation>Клауза WHERE:</translation>
    </message>
    <message>
        <source>Rotunjire:</source>
        <translation>Закръгляване:</translation>
    </message>
    <message>
        <source>Ok</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Abandoneaza</source>
        <translation>Отказ</translation>
    </message>
    <message>
        <source>Campul nu mai exista in proiect.</source>
        <translation>Полето вече не съществува в проекта.</translation>
    </message>
</context>
<context>
    <name>frmFieldAdd</name>
    <message>
        <source>Adauga Camp</source>
        <translation>Добави поле</translation>
    </message>
    <message>
        <source>Lista Campuri:</source>
        <translation>Списък с полета:</translation>
    </message>
    <message>
        <source>Nume Camp</source>
        <translation>Име на поле</translation>
    </message>
    <message>
        <source>Nume Camp:</source>
        <translation>Име на поле:</translation>
    </message>
    <message>
        <source>Rotunjire:</source>
        <translation>Закръгляване:</translation>
    </message>
    <message>
        <source>Se citesc coloanele tabelului &quot;%1&quot;</source>
        <translation>Четене на колоните на таблицата &quot;%1&quot;</translation>
    </message>
    <message>
        <source>Trebuie sa specificati numele campului</source>
        <translation>Трябва да въведете името на полето</translation>
    </message>
    <message>
        <source>Campul este deja adaugat la tabelul curent.</source>
        <translation>Полето вече е добавено към текущата таблица.</translation>
    </message>
    <message>
        <source>Trebuie sa selectati un camp din lista</source>
        <translation>Трябва да изберете поле от списъка</translation>
    </message>
    <message>
        <source>Se verifica tipul campului &quot;%1&quot;</source>
        <translation>Проверка на типа на полето &quot;%1&quot;</translation>
    </message>
    <message>
        <source>Campul %1 nu se poate adauga din cauza urmatoarei erori:<byte value="xd"/>
%2<byte value="xd"/>
<byte value="xd"/>
Doriti sa continuati?</source>
        <translation>Полето %1 не може да бъде добавено поради следната грешка:<byte value="xd"/>
%2<byte value="xd"/>
<byte value="xd"/>
Желаете ли да продължите?</translation>
    </message>
    <message>
        <source>Campul %1 este deja adaugat la tabelul curent.<byte value="xd"/>
<byte value="xd"/>
Doriti sa continuati?</source>
        <translation>Полето %1 вече е добавено към текущата таблица.<byte value="xd"/>
<byte value="xd"/>
Желаете ли да продължите?</translation>
    </message>
</context>
<context>
    <name>frmHelp</name>
    <message>
        <source>Vamor - Ajutor</source>
        <translation>Vamor - Помощ</translation>
    </message>
    <message>
        <source>Inapoi</source>
        <translation>Назад</translation>
    </message>
    <message>
        <source>Inainte</source>
        <translation>Напред</translation>
    </message>
    <message>
        <source>Cuprins</source>
        <translation>Съдържание</translation>
    </message>
    <message>
        <source>Cauta cuvantul:</source>
        <translation>Търси думата:</translation>
    </message>
    <message>
        <source>Index</source>
        <translation>Индекс</translation>
    </message>
    <message>
        <source>Vamor - Ajutor - %1</source>
        <translation>Vamor - Помощ - %1</translation>
    </message>
    <message>
        <source> (paginile in limba engleza)</source>
        <translation> (страниците са на английски)</translation>
    </message>
</context>
<context>
    <name>frmHistory</name>
    <message>
        <source>Istoric conversii</source>
        <translation>История на конвертиранията</translation>
    </message>
    <message>
        <source>Nr.</source>
        <translation>№</translation>
    </message>
    <message>
        <source>Inceput</source>
        <translation>Начало</translation>
    </message>
    <message>
        <source>Sfarsit</source>
        <translation>Край</translation>
    </message>
    <message>
        <source>Utilizator</source>
        <translation>Потребител</translation>
    </message>
    <message>
        <source>Calculator</source>
        <translation>Компютър</translation>
    </message>
    <message>
        <source>Directie</source>
        <translation>Посока</translation>
    </message>
    <message>
        <source>Convertite</source>
        <extracomment>Column: how many fields the run converted.</extracomment>
        <translation>Конвертирани</translation>
    </message>
    <message>
        <source>Esuate</source>
        <extracomment>Column: how many fields failed to convert.</extracomment>
        <translation>Неуспешни</translation>
    </message>
    <message>
        <source>Stare</source>
        <translation>Състояние</translation>
    </message>
    <message>
        <source>Optiuni</source>
        <translation>Опции</translation>
    </message>
    <message>
        <source>Proiectul nu are nicio conversie inregistrata.</source>
        <translation>Проектът няма записани конвертирания.</translation>
    </message>
</context>
<context>
    <name>frmMain</name>
    <message>
        <source>Nou</source>
        <translation>Нов</translation>
    </message>
    <message>
        <source>Proiect Nou</source>
        <translation>Нов проект</translation>
    </message>
    <message>
        <source>Deschide</source>
        <translation>Отвори</translation>
    </message>
    <message>
        <source>Deschide Proiect</source>
        <translation>Отвори проект</translation>
    </message>
    <message>
        <source>Salveaza</source>
        <translation>Запиши</translation>
    </message>
    <message>
        <source>Salveaza Proiectul</source>
        <translation>Запиши проекта</translation>
    </message>
    <message>
        <source>Adauga</source>
        <translation>Добави</translation>
    </message>
    <message>
        <source>Adauga Sursa de Date</source>
        <translation>Добави източник на данни</translation>
    </message>
    <message>
        <source>Sterge</source>
        <translation>Изтрий</translation>
    </message>
    <message>
        <source>Sterge Sursa de Date</source>
        <translation>Изтрий източник на данни</translation>
    </message>
    <message>
        <source>Adauga Tabel</source>
        <translation>Добави таблица</translation>
    </message>
    <message>
        <source>Sterge Tabel</source>
        <translation>Изтрий таблица</translation>
    </message>
    <message>
        <source>Adauga Camp</source>
        <translation>Добави поле</translation>
    </message>
    <message>
        <source>Sterge Camp</source>
        <translation>Изтрий поле</translation>
    </message>
    <message>
        <source>Lei NOI</source>
        <extracomment>The currency after the changeover, on the button that converts to it.</extracomment>
        <translation>НОВИ леи</translation>
    </message>
    <message>
        <source>Converteste la lei NOI</source>
        <translation>Конвертирай в НОВИ леи</translation>
    </message>
    <message>
        <source>Lei VECHI</source>
        <extracomment>The currency before the changeover, on the button that converts back to it.</extracomment>
        <translation>СТАРИ леи</translation>
    </message>
    <message>
        <source>Converteste la lei VECHI</source>
        <translation>Конвертирай в СТАРИ леи</translation>
    </message>
    <message>
        <source>Fisier</source>
        <translation>Файл</translation>
    </message>
    <message>
        <source>Istoric conversii...</source>
        <translation>История на конвертиранията...</translation>
    </message>
    <message>
        <source>Inchide</source>
        <translation>Затвори</translation>
    </message>
    <message>
        <source>Proiect</source>
        <translation>Проект</translation>
    </message>
    <message>
        <source>Cauta sume...</source>
        <translation>Търси суми...</translation>
    </message>
    <message>
        <source>Ajutor</source>
        <translation>Помощ</translation>
    </message>
    <message>
        <source>Continut</source>
        <translation>Съдържание</translation>
    </message>
    <message>
        <source>Index</source>
        <translation>Индекс</translation>
    </message>
    <message>
        <source>Termene si Conditii</source>
        <translation>Условия за ползване</translation>
    </message>
    <message>
        <source>Despre</source>
        <translation>Относно</translation>
    </message>
    <message>
        <source>Proiectul a fost salvat in formatul versiunii %1, pe care acest program nu il cunoaste (cunoaste doar versiunea 1.0).
Proiectul nu poate fi deschis.</source>
        <translation>Проектът е записан във формата на версия %1, който тази програма не познава (тя познава само версия 1.0).
Проектът не може да бъде отворен.</translation>
    </message>
    <message>
        <source>Proiectul curent a fost modificat.
Doriti sa salvati?</source>
        <translation>Текущият проект е променен.
Желаете ли да го запишете?</translation>
    </message>
    <message>
        <source>Nodul &quot;%1&quot; nu exista in arbore.</source>
        <translation>Възелът &quot;%1&quot; не съществува в дървото.</translation>
    </message>
    <message numerus="yes">
        <source>Sursa de date selectata contine %n tabele.
Daca sursa de date va fi stearsa, tabelele impreuna cu campurile lor vor fi deasemenea sterse.

Sunteti sigur ca doriti sa stergeti sursa de date?</source>
        <translation>
            <numerusform>Избраният източник на данни съдържа %n таблица.
Ако източникът на данни бъде изтрит, таблицата заедно с полетата ѝ също ще бъде изтрита.

Сигурни ли сте, че искате да изтриете източника на данни?</numerusform>
            <numerusform>Избраният източник на данни съдържа %n таблици.
Ако източникът на данни бъде изтрит, таблиците заедно с полетата им също ще бъдат изтрити.

Сигурни ли сте, че искате да изтриете източника на данни?</numerusform>
        </translation>
    </message>
    <message>
        <source>Limba</source>
        <translation>Език</translation>
    </message>
    <message>
        <source>Limba sistemului</source>
        <translation>Език на системата</translation>
    </message>
    <message>
        <source>Variabila VAMOR_LANG din mediu alege limba inaintea acestui meniu; alegerea facuta aici se aplica atunci cand ea lipseste.</source>
        <translation>Променливата на средата VAMOR_LANG избира езика с предимство пред това меню; изборът, направен тук, се прилага, когато тя липсва.</translation>
    </message>
    <message>
        <source>Programul va folosi limba aleasa de la urmatoarea pornire.</source>
        <translation>Програмата ще използва избрания език след следващото стартиране.</translation>
    </message>
    <message>
        <source>Copia de lucru &quot;%1&quot; din %2 a ramas de la o rulare Vamor care nu s-a inchis normal.
Doriti sa o deschideti ca proiect nou, nesalvat?

Da - o deschide, Nu - o sterge, Anulare - o lasa asa.</source>
        <extracomment>&quot;Da&quot;, &quot;Nu&quot; and &quot;Anulare&quot; are the question&apos;s buttons.</extracomment>
        <translation>Работното копие &quot;%1&quot; в %2 е останало от изпълнение на Vamor, което не е приключило нормално.
Желаете ли да го отворите като нов, незаписан проект?

Да - отваря го, Не - изтрива го, Отказ - оставя го както е.</translation>
    </message>
    <message>
        <source>Converteste la %1</source>
        <translation>Конвертирай в %1</translation>
    </message>
    <message>
        <source>%1 File</source>
        <extracomment>The file dialog&apos;s title; %1 is the program&apos;s name.</extracomment>
        <translation>Файл на %1</translation>
    </message>
    <message>
        <source>Vamor Files (*.vmd)</source>
        <translation>Файлове на Vamor (*.vmd)</translation>
    </message>
    <message>
        <source>All Files (*.*)</source>
        <translation>Всички файлове (*.*)</translation>
    </message>
</context>
<context>
    <name>frmProgress</name>
    <message>
        <source>Progres</source>
        <translation>Напредък</translation>
    </message>
    <message>
        <source>Sursa de Date:</source>
        <translation>Източник на данни:</translation>
    </message>
    <message>
        <source>Tabel:</source>
        <translation>Таблица:</translation>
    </message>
    <message>
        <source>Camp:</source>
        <translation>Поле:</translation>
    </message>
    <message>
        <source>Stop</source>
        <extracomment>Button that stops the running conversion.</extracomment>
        <translation>Спри</translation>
    </message>
    <message>
        <source>Se asteapta baza de date</source>
        <translation>Изчакване на базата данни</translation>
    </message>
    <message>
        <source>Valoare in afara domeniului barei de progres</source>
        <translation>Стойността е извън обхвата на лентата за напредък</translation>
    </message>
    <message>
        <source>Sunteti sigur ca doriti sa opriti procesul de conversie?</source>
        <translation>Сигурни ли сте, че искате да спрете процеса на конвертиране?</translation>
    </message>
    <message>
        <source>Stopping</source>
        <extracomment>The Stop button&apos;s caption once the user asked to stop.</extracomment>
        <translation>Спиране</translation>
    </message>
    <message>
        <source>Fereastra parinte lipseste</source>
        <translation>Липсва родителският прозорец</translation>
    </message>
    <message>
        <source>Metoda %1 nu exista</source>
        <translation>Методът %1 не съществува</translation>
    </message>
</context>
<context>
    <name>frmStart</name>
    <message>
        <source>File name</source>
        <translation>Име на файл</translation>
    </message>
    <message>
        <source>File</source>
        <translation>Файл</translation>
    </message>
    <message>
        <source>Folder</source>
        <translation>Папка</translation>
    </message>
    <message>
        <source>Deschide</source>
        <translation>Отвори</translation>
    </message>
    <message>
        <source>Abandoneaza</source>
        <translation>Отказ</translation>
    </message>
    <message>
        <source>Proiect %1</source>
        <translation>Проект %1</translation>
    </message>
    <message>
        <source>Nou</source>
        <translation>Нов</translation>
    </message>
    <message>
        <source>Existent</source>
        <translation>Съществуващ</translation>
    </message>
    <message>
        <source>Recent</source>
        <translation>Скорошни</translation>
    </message>
    <message>
        <source>Proiect Nou</source>
        <translation>Нов проект</translation>
    </message>
    <message>
        <source>Deschide Proiect</source>
        <translation>Отвори проект</translation>
    </message>
    <message>
        <source>Deschide Proiect Recent</source>
        <translation>Отвори скорошен проект</translation>
    </message>
    <message>
        <source>Trebuie sa specificati un fisier existent.</source>
        <translation>Трябва да посочите съществуващ файл.</translation>
    </message>
    <message>
        <source>Trebuie sa selectati un fisier din lista de fisiere recente.</source>
        <translation>Трябва да изберете файл от списъка със скорошни файлове.</translation>
    </message>
    <message>
        <source>%1 File</source>
        <extracomment>The file dialog&apos;s title; %1 is the program&apos;s name.</extracomment>
        <translation>Файл на %1</translation>
    </message>
    <message>
        <source>Vamor Files (*.vmd)</source>
        <translation>Файлове на Vamor (*.vmd)</translation>
    </message>
    <message>
        <source>All Files (*.*)</source>
        <translation>Всички файлове (*.*)</translation>
    </message>
</context>
<context>
    <name>frmTable</name>
    <message>
        <source>Nume Tabel:</source>
        <translation>Име на таблица:</translation>
    </message>
    <message>
        <source>Clauza WHERE:</source>
        <translation>Клауза WHERE:</translation>
    </message>
    <message>
        <source>Nume Camp</source>
        <translation>Име на поле</translation>
    </message>
    <message>
        <source>Stare</source>
        <extracomment>Whether the field&apos;s amounts are in old or new currency</extracomment>
        <translation>Състояние</translation>
    </message>
    <message>
        <source>Camp de restaurare</source>
        <translation>Поле за възстановяване</translation>
    </message>
    <message>
        <source>Ultima Eroare</source>
        <translation>Последна грешка</translation>
    </message>
    <message>
        <source>Clauza WHERE</source>
        <translation>Клауза WHERE</translation>
    </message>
    <message>
        <source>Rotunjire</source>
        <translation>Закръгляване</translation>
    </message>
    <message>
        <source>Campul cu cheia %1 este deja in lista.</source>
        <translation>Полето с ключ %1 вече е в списъка.</translation>
    </message>
    <message>
        <source>Campul &quot;%1&quot; va fi sters.<byte value="xd"/>
Doriti sa stergeti si campul suplimentar &quot;%2&quot;?</source>
        <translation>Полето &quot;%1&quot; ще бъде изтрито.<byte value="xd"/>
Желаете ли да изтриете и допълнителното поле &quot;%2&quot;?</translation>
    </message>
    <message>
        <source>Se sterge campul de restaurare &quot;%1&quot;</source>
        <translation>Изтриване на полето за възстановяване &quot;%1&quot;</translation>
    </message>
    <message>
        <source>Campul de restaurare nu a putut fi sters din cauza urmatoarei erori:<byte value="xd"/>
%1<byte value="xd"/>
<byte value="xd"/>
Doriti sa continuati?</source>
        <translation>Колоната за възстановяване не можа да бъде изтрита поради следната грешка:<byte value="xd"/>
%1<byte value="xd"/>
<byte value="xd"/>
Желаете ли да продължите?</translation>
    </message>
</context>
<context>
    <name>frmTableAdd</name>
    <message>
        <source>Numai tabelele utilizatorului curent</source>
        <translation>Само таблиците на текущия потребител</translation>
    </message>
    <message>
        <source>Numai fisierele cu extensia .dbf</source>
        <translation>Само файловете с разширение .dbf</translation>
    </message>
    <message>
        <source>Adauga Tabel</source>
        <translation>Добави таблица</translation>
    </message>
    <message>
        <source>Lista Tabele:</source>
        <translation>Списък с таблици:</translation>
    </message>
    <message>
        <source>Nume Tabel</source>
        <translation>Име на таблица</translation>
    </message>
    <message>
        <source>Proprietar</source>
        <extracomment>The schema (owner) of the table</extracomment>
        <translation>Собственик</translation>
    </message>
    <message>
        <source>Nume Tabel:</source>
        <translation>Име на таблица:</translation>
    </message>
    <message>
        <source>Se citesc tabelele sursei de date</source>
        <translation>Четене на таблиците на източника на данни</translation>
    </message>
    <message>
        <source>Tabelul &quot;%1&quot; apare de doua ori in lista tabelelor sursei de date.</source>
        <translation>Таблицата &quot;%1&quot; се среща два пъти в списъка с таблици на източника на данни.</translation>
    </message>
    <message>
        <source>Trebuie sa specificati numele tabelului</source>
        <translation>Трябва да въведете името на таблицата</translation>
    </message>
    <message>
        <source>Trebuie sa selectati un tabel din lista</source>
        <translation>Трябва да изберете таблица от списъка</translation>
    </message>
    <message>
        <source>Tabelul este deja adaugat la conexiunea curenta.</source>
        <translation>Таблицата вече е добавена към текущата връзка.</translation>
    </message>
</context>
<context>
    <name>frmTerms</name>
    <message>
        <source>Termene si Conditii de Utilizare</source>
        <translation>Условия за ползване</translation>
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
        <translation>УСЛОВИЯ ЗА ПОЛЗВАНЕ

1. Използване на приложението
Vamor може да се използва безплатно от физически лица и от фирми за конвертиране на паричните суми в собствените им бази данни от стари леи в нови леи и обратно, съгласно Закон № 348/2004 за деноминацията на националната валута.

2. Отговорност на потребителя
Приложението променя данните в базите данни, които му посочите. Преди всяко конвертиране направете резервно копие на всяка база данни от проекта и на файла на проекта. След всяко изпълнение проверете отчета за конвертирането и няколко суми от всяка таблица.

3. Какво гарантира приложението
За всяко конвертирано поле приложението запазва първоначалните суми в колона за възстановяване, добавена към таблицата, и може да ги върне чрез конвертиране в стари леи. Всяко поле се конвертира в една-единствена транзакция: поле, което не може да бъде конвертирано, остава такова, каквото е било.

4. Ограничаване на отговорността
Приложението се предоставя &quot;както е&quot;, без каквато и да е гаранция, изрична или подразбираща се, включително без гаранция за пригодност за определена цел. Авторите не носят отговорност за загуба на данни, финансови загуби или други вреди, произтичащи от използването или от невъзможността за използване на приложението.

5. Лични данни
Приложението не изпраща никаква информация извън вашия компютър. Паролите на източниците на данни се съхраняват във файла на проекта; нов файл на проект може да бъде прочетен само от потребителя, който го е създал. Съхранявайте файловете на проектите на сигурни места.

6. Приемане
Като използвате приложението, декларирате, че сте прочели и приемате тези условия.
</translation>
    </message>
</context>
</TS>
