#include "conversion/ReportPrint.h"

#include "data/db/DbError.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QRegularExpression>
#include <QSaveFile>

#include <algorithm>
#include <functional>
#include <memory>
#include <numeric>

namespace conversion {

namespace {

// A piece of the report as tall as it is drawn: a line of text, a table's
// row, the signature. Pages are made by stacking blocks.
struct Block {
    qreal height = 0;
    bool keepWithNext = false;                // a heading stays with what follows
    std::shared_ptr<const Block> repeatOnTop; // the table head drawn again at the top of a new page
    std::function<void(QPainter &, qreal top)> draw;
};

// A column of a table: its head, and whether it holds amounts (aligned by
// the decimal point) or text (wrapped).
struct Column {
    QString head;
    bool amount = false;
};

struct TableRow {
    QStringList cells;
    bool bold = false;
};

const QRegularExpression &decimalPattern()
{
    static const QRegularExpression pattern(QStringLiteral("^-?\\d+(\\.\\d+)?$"));
    return pattern;
}

// The text of an amount before its decimal point and from it ("12", ".50").
std::pair<QString, QString> splitAmount(const QString &text)
{
    const qsizetype dot = text.indexOf(QLatin1Char('.'));
    if (dot < 0)
        return {text, QString()};
    return {text.left(dot), text.mid(dot)};
}

class Layout {
public:
    Layout(QPagedPaintDevice &device, const QFont &base) : mDevice(device), mFont(base)
    {
        mBold = base;
        mBold.setBold(true);
        mTitle = base;
        mTitle.setBold(true);
        mTitle.setPointSizeF(base.pointSizeF() * 1.6);
        mHeading = base;
        mHeading.setBold(true);
        mHeading.setPointSizeF(base.pointSizeF() * 1.2);
        const QFontMetricsF metrics(mFont, &mDevice);
        mPad = metrics.averageCharWidth() * 0.6;
        mLine = metrics.lineSpacing();
        mWidth = mDevice.width();
        mFooter = mLine * 2;
        mPageHeight = mDevice.height() - mFooter;
    }

    qreal width() const { return mWidth; }
    qreal lineHeight() const { return mLine; }

    void title(const QString &text) { paragraph(text, mTitle, false); }
    void heading(const QString &text)
    {
        space(0.8);
        paragraph(text, mHeading, true);
        space(0.3);
    }
    void line(const QString &text) { paragraph(text, mFont, false); }
    void space(qreal lines)
    {
        Block block;
        block.height = mLine * lines;
        block.draw = [](QPainter &, qreal) {};
        mBlocks.append(std::move(block));
    }

    void table(const QList<Column> &columns, const QList<TableRow> &rows);
    void signature(const QStringList &labels);

    // Gives each block its page; returns the number of pages.
    int paginate();
    void paint(QPainter &painter, const QString &footerLeft);

private:
    void paragraph(const QString &text, const QFont &font, bool keepWithNext)
    {
        const QFontMetricsF metrics(font, &mDevice);
        const int flags = Qt::TextWordWrap | Qt::AlignLeft | Qt::AlignTop;
        const qreal height = metrics.boundingRect(QRectF(0, 0, mWidth, 1e6), flags, text).height();
        Block block;
        block.height = std::max(height, metrics.lineSpacing());
        block.keepWithNext = keepWithNext;
        const qreal width = mWidth;
        block.draw = [text, font, flags, width, height](QPainter &painter, qreal top) {
            painter.setFont(font);
            painter.drawText(QRectF(0, top, width, height + 1), flags, text);
        };
        mBlocks.append(std::move(block));
    }

    QPagedPaintDevice &mDevice;
    QFont mFont, mBold, mTitle, mHeading;
    qreal mPad = 0, mLine = 0, mWidth = 0, mFooter = 0, mPageHeight = 0;
    QList<Block> mBlocks;
    QList<int> mPageOf;      // per block
    QList<bool> mHeadAbove;  // per block: its table head is drawn above it first
    int mPages = 1;
};

void Layout::table(const QList<Column> &columns, const QList<TableRow> &rows)
{
    const qsizetype n = columns.size();
    const QFontMetricsF plain(mFont, &mDevice);
    const QFontMetricsF bold(mBold, &mDevice);
    const int wrap = Qt::TextWordWrap | Qt::TextWrapAnywhere;

    // The natural widths: amount columns as wide as their widest integer
    // part plus their widest decimals, text as its longest line.
    QList<qreal> widths(n, 0), intWidths(n, 0), fracWidths(n, 0);
    QList<qreal> natural(n, 0);
    for (qsizetype c = 0; c < n; ++c)
        natural[c] = bold.horizontalAdvance(columns.at(c).head) + 3 * mPad;
    for (const TableRow &row : rows) {
        const QFontMetricsF &metrics = row.bold ? bold : plain;
        for (qsizetype c = 0; c < n; ++c) {
            const QString text = row.cells.value(c);
            if (columns.at(c).amount && decimalPattern().match(text).hasMatch()) {
                const auto [whole, decimals] = splitAmount(text);
                intWidths[c] = std::max(intWidths[c], metrics.horizontalAdvance(whole));
                fracWidths[c] = std::max(fracWidths[c], metrics.horizontalAdvance(decimals));
            } else {
                // A pad more than the text needs: the printer's metrics may
                // round a little wider than these.
                natural[c] = std::max(natural[c], metrics.horizontalAdvance(text) + 3 * mPad);
            }
        }
    }
    qreal fixed = 0, flexible = 0;
    for (qsizetype c = 0; c < n; ++c) {
        if (columns.at(c).amount) {
            widths[c] = std::max(natural[c], intWidths[c] + fracWidths[c] + 3 * mPad);
            fixed += widths[c];
        } else {
            flexible += natural[c];
        }
    }
    // Text columns share what the amounts leave; a long text wraps.
    const qreal room = std::max(mWidth - fixed, mWidth * 0.25);
    const qreal least = plain.averageCharWidth() * 6 + 2 * mPad;
    for (qsizetype c = 0; c < n; ++c) {
        if (columns.at(c).amount)
            continue;
        widths[c] = flexible <= room ? natural[c] : std::max(least, room * natural[c] / flexible);
    }
    qreal total = std::accumulate(widths.cbegin(), widths.cend(), qreal(0));
    if (total < mWidth) {
        // The last text column takes the rest of the line.
        for (qsizetype c = n - 1; c >= 0; --c)
            if (!columns.at(c).amount) {
                widths[c] += mWidth - total;
                break;
            }
    }
    QList<qreal> lefts(n, 0);
    for (qsizetype c = 1; c < n; ++c)
        lefts[c] = lefts[c - 1] + widths[c - 1];
    const qreal tableWidth = std::min(mWidth, std::accumulate(widths.cbegin(), widths.cend(), qreal(0)));

    const QFont font = mFont, boldFont = mBold;
    const qreal pad = mPad;
    const auto makeRow = [=, this](const QStringList &cells, bool isBold, bool isHead) {
        const QFontMetricsF &metrics = isBold || isHead ? bold : plain;
        qreal height = metrics.lineSpacing();
        for (qsizetype c = 0; c < n; ++c) {
            if (columns.at(c).amount && !isHead)
                continue;
            const QRectF box(0, 0, widths[c] - 2 * pad, 1e6);
            height = std::max(height, metrics.boundingRect(box, wrap | Qt::AlignLeft, cells.value(c)).height());
        }
        height += pad;
        Block block;
        block.height = height;
        block.draw = [=](QPainter &painter, qreal top) {
            painter.setFont(isBold || isHead ? boldFont : font);
            const QFontMetricsF drawn(painter.font(), painter.device());
            for (qsizetype c = 0; c < n; ++c) {
                const QString text = cells.value(c);
                const QRectF box(lefts[c] + pad, top + pad / 2, widths[c] - 2 * pad, height - pad);
                if (columns.at(c).amount && !isHead && decimalPattern().match(text).hasMatch()) {
                    // Every decimal point of the column on one vertical line.
                    const auto [whole, decimals] = splitAmount(text);
                    const qreal point = lefts[c] + widths[c] - pad - fracWidths[c];
                    const qreal wholeWidth = drawn.horizontalAdvance(whole);
                    painter.drawText(QPointF(point - wholeWidth, top + pad / 2 + drawn.ascent()), whole);
                    if (!decimals.isEmpty())
                        painter.drawText(QPointF(point, top + pad / 2 + drawn.ascent()), decimals);
                } else {
                    const int align = columns.at(c).amount ? Qt::AlignRight : Qt::AlignLeft;
                    painter.drawText(box, wrap | align | Qt::AlignTop, text);
                }
            }
            const QPen keep = painter.pen();
            painter.setPen(QPen(Qt::gray, 0));
            painter.drawLine(QPointF(0, top + height), QPointF(tableWidth, top + height));
            if (isHead)
                painter.drawLine(QPointF(0, top), QPointF(tableWidth, top));
            painter.setPen(keep);
        };
        return block;
    };

    QStringList heads;
    for (const Column &column : columns)
        heads.append(column.head);
    auto head = std::make_shared<Block>(makeRow(heads, true, true));
    Block first = *head;
    first.keepWithNext = true;
    mBlocks.append(first);
    for (const TableRow &row : rows) {
        Block block = makeRow(row.cells, row.bold, false);
        block.repeatOnTop = head;
        mBlocks.append(std::move(block));
    }
}

void Layout::signature(const QStringList &labels)
{
    // The labels on one line, each over a line to sign on, kept together.
    const qreal width = mWidth;
    const qreal line = mLine;
    const QFont font = mFont;
    Block block;
    block.height = line * 5;
    block.draw = [=](QPainter &painter, qreal top) {
        painter.setFont(font);
        const qreal each = width / labels.size();
        for (qsizetype i = 0; i < labels.size(); ++i) {
            const qreal left = each * i;
            painter.drawText(QPointF(left, top + line * 1.5), labels.at(i));
            painter.drawLine(QPointF(left, top + line * 4), QPointF(left + each * 0.8, top + line * 4));
        }
    };
    space(1.5);
    mBlocks.append(std::move(block));
}

int Layout::paginate()
{
    mPageOf.clear();
    mHeadAbove.clear();
    int page = 0;
    qreal y = 0;
    for (qsizetype i = 0; i < mBlocks.size(); ++i) {
        const Block &block = mBlocks.at(i);
        qreal needed = block.height;
        // A heading moves to the next page with the first block after it.
        for (qsizetype j = i; j + 1 < mBlocks.size() && mBlocks.at(j).keepWithNext; ++j)
            needed += mBlocks.at(j + 1).height;
        bool headAbove = false;
        if (y > 0 && y + std::min(needed, mPageHeight) > mPageHeight) {
            ++page;
            y = 0;
            if (block.repeatOnTop) {
                headAbove = true;
                y += block.repeatOnTop->height;
            }
        }
        mPageOf.append(page);
        mHeadAbove.append(headAbove);
        y += block.height;
    }
    mPages = page + 1;
    return mPages;
}

void Layout::paint(QPainter &painter, const QString &footerLeft)
{
    const auto footer = [&](int page) {
        painter.setFont(mFont);
        const QRectF box(0, mDevice.height() - mLine * 1.2, mWidth, mLine * 1.2);
        painter.drawText(box, Qt::AlignLeft | Qt::AlignBottom, footerLeft);
        painter.drawText(box, Qt::AlignRight | Qt::AlignBottom,
                         QCoreApplication::translate("ReportPrint", "Pagina %1 din %2")
                             .arg(QString::number(page + 1), QString::number(mPages)));
    };
    int page = 0;
    qreal y = 0;
    for (qsizetype i = 0; i < mBlocks.size(); ++i) {
        if (mPageOf.at(i) != page) {
            footer(page);
            mDevice.newPage();
            page = mPageOf.at(i);
            y = 0;
            if (mHeadAbove.at(i)) {
                mBlocks.at(i).repeatOnTop->draw(painter, y);
                y += mBlocks.at(i).repeatOnTop->height;
            }
        }
        mBlocks.at(i).draw(painter, y);
        y += mBlocks.at(i).height;
    }
    footer(page);
}

// "Raport conversie: Conversie din Lei VECHI in Lei NOI".
QString reportTitle(bool toLeiNoi, const Changeover &changeover)
{
    return QCoreApplication::translate("ReportPrint", "Raport conversie: %1").arg(directionTitle(toLeiNoi, changeover));
}

QString cannotWrite(const QString &path, const QSaveFile &file)
{
    return QCoreApplication::translate("ReportPrint", "Fisierul \"%1\" nu poate fi scris: %2").arg(path, file.errorString());
}

QList<TableRow> fieldRows(const ReportLog &log, bool toLeiNoi)
{
    QList<TableRow> rows;
    for (const ReportLog::Row &row : log.rows()) {
        const bool failed = !row.error.isEmpty();
        rows.append({{row.dataSource, row.tableName, row.fieldName, QString::number(row.recCount),
                      fieldStateText(toLeiNoi, log.changeover(), failed), failed ? row.error : row.note},
                     false});
    }
    return rows;
}

} // namespace

QString fieldStateText(bool toLeiNoi, const Changeover &changeover, bool failed)
{
    if (failed)
        //: The state of a field the run could not convert: %1 is the currency's code, as "ROL".
        return QCoreApplication::translate("ReportPrint", "ramas in %1")
            .arg(toLeiNoi ? changeover.oldCode : changeover.newCode);
    //: The state of a converted field: %1 is the currency's code, as "RON".
    return QCoreApplication::translate("ReportPrint", "convertit in %1")
        .arg(toLeiNoi ? changeover.newCode : changeover.oldCode);
}

void setReportPageLayout(QPagedPaintDevice &device)
{
    device.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape, QMarginsF(12, 12, 12, 12),
                                     QPageLayout::Millimeter));
}

int paintReport(const ReportLog &log, const PrintedRun &run, QPagedPaintDevice &device)
{
    QFont base(QStringLiteral("DejaVu Sans"));
    base.setStyleHint(QFont::SansSerif);
    base.setPointSizeF(8);
    // No ligatures: the file's text must read back letter for letter ("fi",
    // not one glyph for both), for search and for programs that read it.
    base.setStyleStrategy(QFont::PreferNoShaping);
    Layout layout(device, base);

    const Changeover &changeover = log.changeover();
    layout.title(reportTitle(run.toLeiNoi, changeover));
    layout.space(0.5);
    layout.line(QCoreApplication::translate("ReportPrint", "Proiect: %1").arg(run.projectFile));
    //: The currencies of the run, from and to, and the changeover's rate: "ROL -> RON (1 RON = 10000 ROL)".
    layout.line(QCoreApplication::translate("ReportPrint", "Trecerea: %1 -> %2 (1 %3 = %4 %5)")
                    .arg(run.toLeiNoi ? changeover.oldCode : changeover.newCode,
                         run.toLeiNoi ? changeover.newCode : changeover.oldCode, changeover.newCode,
                         changeover.rate, changeover.oldCode));
    if (!changeover.description.isEmpty())
        layout.line(changeover.description);
    for (const QString &line : log.titleLines())
        layout.line(line);
    layout.line(QCoreApplication::translate("ReportPrint", "Utilizator: %1, calculator: %2").arg(run.user, run.computer));
    if (!run.options.isEmpty())
        layout.line(QCoreApplication::translate("ReportPrint", "Optiuni: %1").arg(run.options));
    for (const QString &line : log.totalLines())
        layout.line(line);

    layout.heading(QCoreApplication::translate("ReportPrint", "Campuri"));
    layout.table({{QCoreApplication::translate("ReportPrint", "Sursa Date")},
                  {QCoreApplication::translate("ReportPrint", "Tabel")},
                  {QCoreApplication::translate("ReportPrint", "Camp")},
                  {QCoreApplication::translate("ReportPrint", "Inregistrari"), true},
                  {QCoreApplication::translate("ReportPrint", "Stare")},
                  {QCoreApplication::translate("ReportPrint", "Observatii / Eroare")}},
                 fieldRows(log, run.toLeiNoi));

    const QList<ReportLog::TotalsRow> totals = log.totalsRows();
    if (!totals.isEmpty()) {
        layout.heading(QCoreApplication::translate("ReportPrint", "Totaluri de control"));
        QList<Column> columns{{QCoreApplication::translate("ReportPrint", "Sursa Date")},
                              {QCoreApplication::translate("ReportPrint", "Tabel")},
                              {QCoreApplication::translate("ReportPrint", "Camp")}};
        const QStringList heads = totalsHeader(run.toLeiNoi, changeover);
        for (qsizetype i = 0; i < heads.size(); ++i)
            columns.append({heads.at(i), i + 1 < heads.size()});
        QList<TableRow> rows;
        for (const ReportLog::TotalsRow &row : totals) {
            using Kind = ReportLog::TotalsRow::Kind;
            //: The row that sums the whole run.
            const QString source = row.kind == Kind::Run ? QCoreApplication::translate("ReportPrint", "Total")
                                                         : row.dataSource;
            rows.append({QStringList{source, row.tableName, row.fieldName} + row.values, row.kind != Kind::Field});
        }
        layout.table(columns, rows);
    }

    layout.signature({QCoreApplication::translate("ReportPrint", "Intocmit de (nume, functie):"),
                      QCoreApplication::translate("ReportPrint", "Semnatura:"),
                      //: The date the report is signed on.
                      QCoreApplication::translate("ReportPrint", "Data:")});

    const int pages = layout.paginate();
    QPainter painter;
    if (!painter.begin(&device))
        throw db::DbError(db::E_FAIL,
                          QCoreApplication::translate("ReportPrint", "Raportul nu poate fi desenat pe aceasta pagina."));
    layout.paint(painter, QFileInfo(run.projectFile).fileName());
    painter.end();
    return pages;
}

void saveReportPdf(const ReportLog &log, const PrintedRun &run, const QString &path)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw db::DbError(db::E_FAIL, cannotWrite(path, file));
    {
        QPdfWriter writer(&file);
        writer.setTitle(reportTitle(run.toLeiNoi, log.changeover()));
        writer.setCreator(QStringLiteral("Vamor"));
        writer.setResolution(300);
        setReportPageLayout(writer);
        paintReport(log, run, writer);
    }
    if (!file.commit())
        throw db::DbError(db::E_FAIL, cannotWrite(path, file));
}

bool isPdfPath(const QString &path) { return path.endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive); }

} // namespace conversion
