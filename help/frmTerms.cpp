#include "help/frmTerms.h"

#include "util/widgets/FormTools.h"

#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

frmTerms::frmTerms(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmTerms"));
    setWindowTitle(tr("Termene si Conditii de Utilizare"));
    setProperty("HelpContextID", 15);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setSizeGripEnabled(true);
    setMinimumSize(320, 200);

    txtTerm = new QPlainTextEdit(this);
    txtTerm->setObjectName(QStringLiteral("txtTerm"));
    txtTerm->setReadOnly(true);
    txtTerm->setPlainText(termsText());
    cmdOk = new QPushButton(tr("Ok"), this);
    cmdOk->setObjectName(QStringLiteral("cmdOk"));
    cmdOk->setDefault(true);
    connect(cmdOk, &QPushButton::clicked, this, &QDialog::accept);

    // The text takes the inner width and the height above the button; the
    // button keeps to the bottom right corner.
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdOk);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(txtTerm, 1);
    layout->addLayout(buttons);

    resize(560, 440);
    pgLoadFormSettings(this);
}

frmTerms::~frmTerms() { pgSaveFormSettings(this); }

QString frmTerms::termsText()
{
    return tr(
        "TERMENE SI CONDITII DE UTILIZARE\n"
        "\n"
        "1. Folosirea aplicatiei\n"
        "Vamor poate fi folosit gratuit, de persoane fizice si de firme, pentru a converti sumele de bani din "
        "propriile baze de date din lei vechi in lei noi si inapoi, conform Legii nr. 348/2004 privind "
        "denominarea monedei nationale.\n"
        "\n"
        "2. Raspunderea utilizatorului\n"
        "Aplicatia modifica datele din bazele de date pe care i le indicati. Inainte de orice conversie faceti "
        "o copie de siguranta a fiecarei baze de date din proiect si a fisierului proiectului. Verificati "
        "raportul conversiei si cateva sume din fiecare tabel dupa fiecare rulare.\n"
        "\n"
        "3. Ce garanteaza aplicatia\n"
        "Pentru fiecare camp convertit, aplicatia pastreaza sumele initiale intr-o coloana de restaurare "
        "adaugata tabelului si le poate pune inapoi prin conversia in lei vechi. Fiecare camp este convertit "
        "intr-o singura tranzactie: un camp care nu poate fi convertit ramane asa cum era.\n"
        "\n"
        "4. Limitarea raspunderii\n"
        "Aplicatia este oferita \"asa cum este\", fara nicio garantie, expresa sau implicita, inclusiv fara "
        "garantia potrivirii pentru un anumit scop. Autorii nu raspund pentru pierderi de date, pierderi "
        "financiare sau alte pagube rezultate din folosirea ori din imposibilitatea folosirii aplicatiei.\n"
        "\n"
        "5. Date personale\n"
        "Aplicatia nu trimite nicio informatie in afara calculatorului dumneavoastra. Parolele surselor de "
        "date sunt pastrate in fisierul proiectului; un fisier de proiect nou poate fi citit doar de utilizatorul "
        "care l-a creat. Pastrati fisierele proiectelor in locuri sigure.\n"
        "\n"
        "6. Acceptare\n"
        "Folosind aplicatia declarati ca ati citit si ca acceptati aceste termene si conditii.\n");
}
