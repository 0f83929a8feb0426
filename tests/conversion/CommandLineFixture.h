#pragma once

#include "data/db/Variant.h"
#include "tests/conversion/ConversionTestSupport.h"

#include <QByteArray>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

namespace convtest {

// The command-line run end to end: a project file "firma.vmd" made from
// Vamor.vmt in a temporary program folder, over a SQLite user database with
// the table Facturi (Suma INTEGER, Tva DECIMAL(18,2)) and both as fields of
// the data source "Firma"; the real program run as a separate process.
class CommandLineFixture : public ::testing::Test {
protected:
    void SetUp() override;

    // Runs a statement on the project file, or reads the first value of a query.
    void project(const QString &sql);
    db::Variant projectScalar(const QString &sql);

    struct Outcome {
        int status = -1; // -1: ended by a signal
        QString out;
        QString err;
    };
    // The program's environment: VAMOR_HOME is the temporary folder, no display.
    virtual QProcessEnvironment environment() const;
    std::unique_ptr<QProcess> start(const QStringList &args, const QString &workingDir = QString());
    // Closes the input, waits for the end and reads what is left.
    static Outcome finish(QProcess &process, const QByteArray &errSoFar = QByteArray());
    // Runs the program to its end, `input` given on standard input.
    Outcome vamor(const QStringList &args, const QByteArray &input = QByteArray(),
                  const QString &workingDir = QString());
    // Waits until standard output (or error) holds `text`; returns what was read.
    static QByteArray waitFor(QProcess &process, const QByteArray &text, bool onStderr = false);

    QTemporaryDir home;
    QString projectPath;
    SqliteUserDb user;
};

} // namespace convtest
