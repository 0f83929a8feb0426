// Opens one recordset and reports its time and the process's peak memory.
//
//   vamor_bench_rowlimit CONNSTRING SQL MAXROWS   open SQL with the row limit
//                                                 (0 = every row)
//   vamor_bench_rowlimit CONNSTRING --exec SQL    run one statement
//
// Prints one line: rows=N seconds=S peak_kb=P base_kb=B, where base_kb is the
// peak before the query ran. Run it once per measurement: the peak belongs to
// the whole process.

#include "data/db/Connection.h"
#include "data/db/DbError.h"

#include <QString>

#include <chrono>
#include <clocale>
#include <cstdio>
#include <cstring>
#include <sys/resource.h>

namespace {

long peakKb()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

} // namespace

int main(int argc, char **argv)
{
    std::setlocale(LC_ALL, "");
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s CONNSTRING SQL MAXROWS | CONNSTRING --exec SQL\n", argv[0]);
        return 2;
    }
    try {
        db::Connection conn;
        conn.open(QString::fromUtf8(argv[1]));
        if (std::strcmp(argv[2], "--exec") == 0) {
            const qint64 n = conn.execute(QString::fromUtf8(argv[3]));
            std::printf("affected=%lld\n", static_cast<long long>(n));
            return 0;
        }
        const int maxRows = std::atoi(argv[3]);
        const long base = peakKb();
        const auto start = std::chrono::steady_clock::now();
        db::Recordset rs = conn.openRecordset(QString::fromUtf8(argv[2]), db::CursorType::Static,
                                              db::LockType::ReadOnly, maxRows);
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        std::printf("rows=%d seconds=%.4f peak_kb=%ld base_kb=%ld\n", rs.recordCount(), seconds, peakKb(), base);
    } catch (const db::DbError &e) {
        std::fprintf(stderr, "error %08x: %s\n", static_cast<unsigned>(e.number()), e.description().toUtf8().constData());
        return 1;
    }
    return 0;
}
