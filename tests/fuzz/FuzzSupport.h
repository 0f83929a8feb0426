#pragma once

// Helpers shared by the fuzz targets. Each target defines
// LLVMFuzzerTestOneInput; it is linked either with libFuzzer (the clang build
// with VAMOR_FUZZ) or with ReplayMain.cpp, which runs it once over each file
// of a corpus (every other build, so the seeds stay a regression test).

#include <QByteArray>
#include <QString>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace fuzzsupport {

// A property that must hold: when it does not, the target prints what was
// expected and ends the process, which the fuzzer records as a crash with
// the input that caused it.
[[noreturn]] inline void violated(const char *file, int line, const char *condition, const QString &detail)
{
    std::fprintf(stderr, "%s:%d: property violated: %s\n%s\n", file, line, condition,
                 detail.toUtf8().constData());
    std::fflush(stderr);
    std::abort();
}

// Text shown in a report: control characters escaped, so the line stays one
// line and readable.
inline QString printable(const QString &text)
{
    QString out;
    out.reserve(text.size() + 2);
    out += QLatin1Char('"');
    for (const QChar c : text) {
        if (c == QLatin1Char('\\') || c == QLatin1Char('"'))
            out += QLatin1Char('\\') + QString(c);
        else if (c.unicode() < 0x20 || c.unicode() == 0x7f)
            out += QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QLatin1Char('0'));
        else
            out += c;
    }
    out += QLatin1Char('"');
    return out;
}

inline QString textOf(const uint8_t *data, size_t size)
{
    return QString::fromUtf8(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
}

inline QByteArray bytesOf(const uint8_t *data, size_t size)
{
    return QByteArray(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
}

} // namespace fuzzsupport

#define FUZZ_CHECK(condition, detail)                                                              \
    do {                                                                                           \
        if (!(condition))                                                                          \
            ::fuzzsupport::violated(__FILE__, __LINE__, #condition, (detail));                     \
    } while (false)
