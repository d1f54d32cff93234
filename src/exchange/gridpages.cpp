#include "exchange/gridpages.h"

#include <QAbstractItemModel>
#include <QAbstractProxyModel>
#include <QBrush>
#include <QFontMetricsF>
#include <QHeaderView>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QTableView>
#include <QTextLayout>
#include <QTextOption>

#include <algorithm>
#include <numeric>
#include <optional>

#include "platform/recordgrid.h"
#include "platform/steps.h"

namespace vm {
namespace {

QColor ColorOf(const QVariant& v) {
    if (v.canConvert<QBrush>()) return v.value<QBrush>().color();
    if (v.canConvert<QColor>()) return v.value<QColor>();
    return {};
}

// Cell text wraps between words, and inside a word only when the word is
// wider than its column. Columns are never narrower than their heading's
// words and their widest number, so neither of those ever breaks.
QTextOption WrapOption() {
    QTextOption o(Qt::AlignLeft | Qt::AlignTop);
    o.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    return o;
}
constexpr int kLongestNumber = 40;  // characters; a longer "number" is text

// The height of a text wrapped to `width`; one line when it fits as it is.
double TextHeight(const QFontMetricsF& fm, const QFont& font, QPaintDevice* device, double width, const QString& text) {
    if (text.isEmpty() || (!text.contains('\n') && fm.horizontalAdvance(text) <= width)) return fm.height();
    QString lines = text;
    lines.replace('\n', QChar::LineSeparator);
    QTextLayout layout(lines, font, device);
    layout.setTextOption(WrapOption());
    layout.beginLayout();
    double h = 0;
    for (QTextLine l = layout.createLine(); l.isValid(); l = layout.createLine()) {
        l.setLineWidth(std::max(width, 1.0));
        h += l.height();
    }
    layout.endLayout();
    return h;
}

// A word that is a number, a date, a time or a list of them ("16777215",
// "2/14/2026", "0;16777215;0;16777215;3;3", "15,-10"): digits and the signs
// between them, no letters.
bool IsNumberWord(const QString& w) {
    if (w.size() > kLongestNumber) return false;
    bool digit = false;
    for (const QChar c : w) {
        if (c.isDigit()) digit = true;
        else if (!QStringLiteral("+-.,;:/()#%$").contains(c)) return false;
    }
    return digit;
}

struct ColumnNeeds {
    // Device units, padding included: the least width, the width for every
    // cell on one line, and for the heading on one line too.
    std::vector<double> least, lines, natural;
    double leastTotal = 0;
};

// A column needs its heading's longest word and its widest number, so that
// neither breaks; it would like its longest line on one line, and its heading.
ColumnNeeds Measure(const GridPrintout& g, const QFont& body, const QFont& bold, QPaintDevice* device, double pad) {
    const QFontMetricsF fmBody(body, device), fmBold(bold, device);
    ColumnNeeds need;
    for (size_t i = 0; i < g.headings.size(); ++i) {
        // A heading may wrap between its words, never inside one.
        const double head = fmBold.horizontalAdvance(g.headings[i]);
        double line = 0, number = 0, headWord = 0;
        for (const QString& w : g.headings[i].split(' ', Qt::SkipEmptyParts))
            headWord = std::max(headWord, fmBold.horizontalAdvance(w));
        for (const auto& row : g.rows) {
            const QString& text = row[i].text;
            if (text.isEmpty()) continue;
            if (!text.contains('\n') && !text.contains(' ')) {
                const double whole = fmBody.horizontalAdvance(text);
                line = std::max(line, whole);
                if (whole > number && IsNumberWord(text)) number = whole;
                continue;
            }
            for (const QString& l : text.split('\n')) {
                line = std::max(line, fmBody.horizontalAdvance(l));
                for (const QString& w : l.split(' ', Qt::SkipEmptyParts))
                    if (IsNumberWord(w)) number = std::max(number, fmBody.horizontalAdvance(w));
            }
        }
        // A little more than the measure, so that laying the text out again never wraps it.
        const double slack = fmBody.height() * 0.1;
        need.least.push_back(std::max(headWord, number) + 2 * pad + slack);
        need.lines.push_back(std::max(need.least.back(), line + 2 * pad + slack));
        need.natural.push_back(std::max(need.lines.back(), head + 2 * pad + slack));
        need.leastTotal += need.least.back();
    }
    return need;
}

// Shares `room` out among the columns lacking width for `goal`, fairly: the
// columns that lack least are served in full first, the one longest text
// gets what is left, so it never starves the others.
double ShareOut(std::vector<double>& w, const std::vector<double>& goal, double room) {
    std::vector<size_t> lacking;
    for (size_t i = 0; i < w.size(); ++i)
        if (goal[i] > w[i]) lacking.push_back(i);
    std::sort(lacking.begin(), lacking.end(), [&](size_t a, size_t b) { return goal[a] - w[a] < goal[b] - w[b]; });
    for (size_t k = 0; k < lacking.size() && room > 0; ++k) {
        const size_t i = lacking[k];
        const double given = std::min(goal[i] - w[i], room / double(lacking.size() - k));
        w[i] += given;
        room -= given;
    }
    return room;
}

// Column edges across the page: every column gets what it needs (all of
// them shrunk alike only when even that is too wide); the room left goes
// first to the columns whose cells need more to stand on one line, then to
// the headings that would wrap; what none of them wants goes to the column
// with the longest lines.
std::vector<double> ColumnEdges(const ColumnNeeds& need, double pageW) {
    const size_t n = need.least.size();
    std::vector<double> w = need.least;
    if (need.leastTotal > pageW) {
        for (double& c : w) c *= pageW / need.leastTotal;
    } else if (n > 0) {
        double room = pageW - need.leastTotal;
        room = ShareOut(w, need.lines, room);
        room = ShareOut(w, need.natural, room);
        const size_t widest = size_t(std::max_element(need.lines.begin(), need.lines.end()) - need.lines.begin());
        w[widest] += room;
    }
    std::vector<double> x(n + 1, 0.0);
    for (size_t i = 0; i < n; ++i) x[i + 1] = x[i] + w[i];
    return x;
}

// The most characters one cell could show on a page, even at the smallest
// print. A longer text (a record may hold megabytes) is measured and laid
// out only that far: the page's end cuts it there anyway, and laying out all
// of one long word takes time that grows with its square.
qsizetype PageOfText(QPaintDevice* device, double pageW, double pageH, QFont font) {
    // The smallest print: 6 points, or three quarters of a smaller grid font.
    const double size = font.pointSizeF();
    font.setPointSizeF(size > 0 ? std::min(6.0, 0.75 * size) : 6.0);
    const QFontMetricsF fm(font, device);
    const double narrowest = std::max(0.5, fm.horizontalAdvance(QLatin1Char('.')) / 2);
    return static_cast<qsizetype>((pageH / fm.height() + 1) * (pageW / narrowest + 1));
}

// The grid with every text longer than `most` characters cut there; none
// when no text is that long.
std::optional<GridPrintout> CutLongTexts(const GridPrintout& g, qsizetype most) {
    std::optional<GridPrintout> cut;
    for (size_t r = 0; r < g.rows.size(); ++r)
        for (size_t c = 0; c < g.rows[r].size(); ++c)
            if (g.rows[r][c].text.size() > most) {
                if (!cut) cut = g;
                cut->rows[r][c].text.truncate(most);
            }
    return cut;
}

// Whether a row of the model is a grid's empty new-row line.
bool IsNewRowLine(const QAbstractItemModel* model, int row) {
    QModelIndex at = model->index(row, 0);
    while (const auto* proxy = qobject_cast<const QAbstractProxyModel*>(at.model())) at = proxy->mapToSource(at);
    const auto* records = qobject_cast<const RecordGridModel*>(at.model());
    return records && records->isNewRowLine(at.row());
}

}  // namespace

GridPrintout TakeGrid(const QTableView& grid, bool colour) {
    GridPrintout out;
    out.font = grid.font();
    if (out.font.pointSizeF() <= 0) out.font.setPointSizeF(9);
    const QAbstractItemModel* model = grid.model();
    if (!model) return out;
    if (colour) {
        // The grid's normal colours, also while a box has disabled the window.
        const QPalette& body = grid.palette();
        const QPalette& head = grid.horizontalHeader()->palette();
        out.back = body.color(QPalette::Active, QPalette::Base);
        out.fore = body.color(QPalette::Active, QPalette::Text);
        out.headBack = head.color(QPalette::Active, QPalette::Button);
        out.headFore = head.color(QPalette::Active, QPalette::ButtonText);
    }
    const QHeaderView* head = grid.horizontalHeader();
    std::vector<int> columns;
    for (int visual = 0; visual < head->count(); ++visual) {
        const int c = head->logicalIndex(visual);
        if (c < 0 || grid.isColumnHidden(c)) continue;
        columns.push_back(c);
        out.headings.push_back(model->headerData(c, Qt::Horizontal, Qt::DisplayRole).toString());
    }
    const int rows = model->rowCount();
    out.rows.reserve(size_t(rows));
    for (int r = 0; r < rows; ++r) {
        if (grid.isRowHidden(r) || IsNewRowLine(model, r)) continue;
        std::vector<GridCell> cells;
        cells.reserve(columns.size());
        for (int c : columns) {
            const QModelIndex at = model->index(r, c);
            QString text = model->data(at, Qt::DisplayRole).toString();
            text.replace("\r\n", "\n").replace('\r', '\n');
            GridCell cell{text, {}, {}};
            if (colour) {
                cell.back = ColorOf(model->data(at, Qt::BackgroundRole));
                cell.fore = ColorOf(model->data(at, Qt::ForegroundRole));
            }
            cells.push_back(std::move(cell));
        }
        out.rows.push_back(std::move(cells));
    }
    return out;
}

int PaintGridPages(QPagedPaintDevice& device, const GridPrintout& grid, const QString& header, const QString& printDate,
                   const std::function<bool(int64_t, int64_t)>& progress) {
    QPainter p;
    if (!p.begin(&device)) throw OpError(482, "The printer could not be started.");
    const double pageW = device.width(), pageH = device.height();
    const std::optional<GridPrintout> cut = CutLongTexts(grid, PageOfText(&device, pageW, pageH, grid.font));
    const GridPrintout& g = cut ? *cut : grid;

    QFont body = g.font, bold = g.font, title = g.font;
    bold.setBold(true);
    title.setBold(true);
    title.setPointSizeF(g.font.pointSizeF() + 2);
    double pad = QFontMetricsF(body, &device).height() * 0.15;
    ColumnNeeds need = Measure(g, body, bold, &device, pad);
    auto resize = [&](double size) {
        body.setPointSizeF(size);
        bold.setPointSizeF(size);
        pad = QFontMetricsF(body, &device).height() * 0.15;
        need = Measure(g, body, bold, &device, pad);
    };
    const double linesTotal = std::accumulate(need.lines.begin(), need.lines.end(), 0.0);
    if (linesTotal > pageW)  // a slightly smaller print, so that more cells stand on one line
        resize(g.font.pointSizeF() * std::max(0.75, pageW / linesTotal * 0.98));
    if (need.leastTotal > pageW)  // too many columns for the page: a smaller print, down to 6 points
        resize(std::max(6.0, body.pointSizeF() * pageW / need.leastTotal * 0.97));
    const std::vector<double> x = ColumnEdges(need, pageW);
    const QFontMetricsF fmBody(body, &device), fmBold(bold, &device), fmTitle(title, &device);
    const double line = std::max(1.0, device.logicalDpiX() / 150.0);
    const size_t n = g.headings.size();

    auto rowHeight = [&](auto textOf, const QFontMetricsF& fm, const QFont& font) {
        double h = fm.height();
        for (size_t i = 0; i < n; ++i)
            h = std::max(h, TextHeight(fm, font, &device, x[i + 1] - x[i] - 2 * pad, textOf(i)));
        return h + 2 * pad;
    };
    const double titleH = fmTitle.height() * 1.3, footerH = fmBody.height() * 1.5;
    const double bodyTop = titleH, bodyBottom = pageH - footerH;
    const double headH =
        std::min(rowHeight([&](size_t i) { return g.headings[i]; }, fmBold, bold), (bodyBottom - bodyTop) / 2);
    const double roomForRows = bodyBottom - bodyTop - headH;
    const QString more(QChar(0x2026));  // the mark of a text cut at the page's end

    auto drawRow = [&](double top, double h, bool cut, auto cellOf, const QFont& font, QColor back, QColor fore) {
        p.setFont(font);
        for (size_t i = 0; i < n; ++i) {
            const GridCell cell = cellOf(i);
            const QRectF box(x[i], top, x[i + 1] - x[i], h);
            const QColor b = cell.back.isValid() ? cell.back : back;
            if (b != Qt::white) p.fillRect(box, b);
            p.setPen(QPen(QColor(128, 128, 128), line));
            p.drawRect(box);
            if (cell.text.isEmpty()) continue;
            const QColor f = cell.fore.isValid() ? cell.fore : fore;
            p.setPen(f);
            const QRectF inner = box.adjusted(pad, pad, -pad, -pad);
            const bool overflows = cut && TextHeight(fmBody, font, &device, inner.width(), cell.text) > inner.height() + 0.5;
            p.save();
            p.setClipRect(overflows ? inner.adjusted(0, 0, 0, -fmBody.height()) : box);
            p.drawText(inner, cell.text, WrapOption());
            p.restore();
            if (overflows) p.drawText(QRectF(inner.left(), inner.bottom() - fmBody.height(), inner.width(), fmBody.height()),
                                      Qt::AlignLeft | Qt::AlignBottom, more);
        }
    };
    auto startPage = [&](int number) {
        if (number > 1) device.newPage();
        p.setPen(Qt::black);
        p.setFont(title);
        p.drawText(QRectF(0, 0, pageW, titleH), Qt::AlignLeft | Qt::AlignVCenter, header);
        p.setFont(body);
        const QRectF foot(0, bodyBottom, pageW, footerH);
        p.drawText(foot, Qt::AlignLeft | Qt::AlignBottom, "Print Date: " + printDate);
        p.drawText(foot, Qt::AlignRight | Qt::AlignBottom, QString("Page %1").arg(number));
        if (n == 0) return bodyTop;
        drawRow(bodyTop, headH, false, [&](size_t i) { return GridCell{g.headings[i], {}, {}}; }, bold, g.headBack,
                g.headFore);
        return bodyTop + headH;
    };

    int page = 1;
    double y = startPage(page);
    const int64_t total = static_cast<int64_t>(g.rows.size());
    int64_t done = 0;
    for (const auto& cells : g.rows) {
        const double natural = rowHeight([&](size_t i) { return cells[i].text; }, fmBody, body);
        // A row taller than a page is cut at the page's end and marked.
        const double h = std::min(natural, roomForRows);
        if (y + h > bodyBottom + 0.5) y = startPage(++page);
        drawRow(y, h, natural > h, [&](size_t i) { return cells[i]; }, body, g.back, g.fore);
        y += h;
        if (progress && ++done % 50 == 0 && !progress(done, total)) break;
    }
    p.end();
    return page;
}

}  // namespace vm
