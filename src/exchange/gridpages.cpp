#include "exchange/gridpages.h"

#include <QAbstractItemModel>
#include <QBrush>
#include <QFontMetricsF>
#include <QHeaderView>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QTableView>
#include <QTextLayout>
#include <QTextOption>

#include <algorithm>

#include "platform/steps.h"

namespace vm {
namespace {

QColor ColorOf(const QVariant& v) {
    if (v.canConvert<QBrush>()) return v.value<QBrush>().color();
    if (v.canConvert<QColor>()) return v.value<QColor>();
    return {};
}

// Cell text wraps between words, and inside a word too long for its column.
QTextOption WrapOption() {
    QTextOption o(Qt::AlignLeft | Qt::AlignTop);
    o.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    return o;
}

double TextHeight(const QFont& font, QPaintDevice* device, double width, const QString& text) {
    if (text.isEmpty()) return QFontMetricsF(font, device).height();
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

// The width of the longest line of a text.
double LongestLine(const QFontMetricsF& fm, const QString& text) {
    double w = 0;
    for (const QString& line : text.split('\n')) w = std::max(w, fm.horizontalAdvance(line));
    return w;
}

struct ColumnNeeds {
    std::vector<double> least, natural;  // device units, padding included
    double leastTotal = 0;
};

// A column needs its heading and ten characters of its cells (all of them
// when shorter); it would like its longest line.
ColumnNeeds Measure(const GridPrintout& g, const QFont& body, const QFont& bold, QPaintDevice* device, double pad) {
    const QFontMetricsF fmBody(body, device), fmBold(bold, device);
    const double tenChars = fmBody.horizontalAdvance(QString(10, '0'));
    ColumnNeeds need;
    for (size_t i = 0; i < g.headings.size(); ++i) {
        const double head = LongestLine(fmBold, g.headings[i]);
        double cells = 0;
        for (const auto& row : g.rows) cells = std::max(cells, LongestLine(fmBody, row[i].text));
        need.least.push_back(std::max(head, std::min(cells, tenChars)) + 2 * pad);
        need.natural.push_back(std::max(head, cells) + 2 * pad);
        need.leastTotal += need.least.back();
    }
    return need;
}

// Column edges across the page: every column gets what it needs (all of
// them shrunk alike when even that is too wide), the room left goes to the
// columns with longer text, and what they do not want to every column.
std::vector<double> ColumnEdges(const ColumnNeeds& need, double pageW) {
    const size_t n = need.least.size();
    std::vector<double> w = need.least;
    if (need.leastTotal > pageW) {
        for (double& c : w) c *= pageW / need.leastTotal;
    } else {
        double room = pageW - need.leastTotal, wanted = 0;
        for (size_t i = 0; i < n; ++i) wanted += need.natural[i] - need.least[i];
        const double given = std::min(room, wanted);
        for (size_t i = 0; i < n && wanted > 0; ++i) w[i] += (need.natural[i] - need.least[i]) * given / wanted;
        room -= given;
        const double now = need.leastTotal + given;
        for (double& c : w) c += room * c / now;
    }
    std::vector<double> x(n + 1, 0.0);
    for (size_t i = 0; i < n; ++i) x[i + 1] = x[i] + w[i];
    return x;
}

}  // namespace

GridPrintout TakeGrid(const QTableView& grid, bool colour) {
    GridPrintout out;
    out.font = grid.font();
    if (out.font.pointSizeF() <= 0) out.font.setPointSizeF(9);
    const QAbstractItemModel* model = grid.model();
    if (!model) return out;
    if (colour) {
        out.back = grid.palette().color(QPalette::Base);
        out.fore = grid.palette().color(QPalette::Text);
        out.headBack = grid.horizontalHeader()->palette().color(QPalette::Button);
        out.headFore = grid.horizontalHeader()->palette().color(QPalette::ButtonText);
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
        if (grid.isRowHidden(r)) continue;
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

int PaintGridPages(QPagedPaintDevice& device, const GridPrintout& g, const QString& header, const QString& printDate) {
    QPainter p;
    if (!p.begin(&device)) throw OpError(482, "The printer could not be started.");
    const double pageW = device.width(), pageH = device.height();

    QFont body = g.font, bold = g.font, title = g.font;
    bold.setBold(true);
    title.setBold(true);
    title.setPointSizeF(g.font.pointSizeF() + 3);
    const double pad = QFontMetricsF(body, &device).height() * 0.25;
    ColumnNeeds need = Measure(g, body, bold, &device, pad);
    if (need.leastTotal > pageW) {
        // Too many columns for the page: a smaller print, down to 6 points.
        const double size = std::max(6.0, g.font.pointSizeF() * pageW / need.leastTotal * 0.97);
        body.setPointSizeF(size);
        bold.setPointSizeF(size);
        need = Measure(g, body, bold, &device, pad);
    }
    const std::vector<double> x = ColumnEdges(need, pageW);
    const QFontMetricsF fmBody(body, &device), fmTitle(title, &device);
    const double line = std::max(1.0, device.logicalDpiX() / 150.0);
    const size_t n = g.headings.size();

    auto rowHeight = [&](auto textOf, const QFont& font) {
        double h = QFontMetricsF(font, &device).height();
        for (size_t i = 0; i < n; ++i) h = std::max(h, TextHeight(font, &device, x[i + 1] - x[i] - 2 * pad, textOf(i)));
        return h + 2 * pad;
    };
    const double titleH = fmTitle.height() * 1.5, footerH = fmBody.height() * 1.8;
    const double bodyTop = titleH, bodyBottom = pageH - footerH;
    const double headH = std::min(rowHeight([&](size_t i) { return g.headings[i]; }, bold), (bodyBottom - bodyTop) / 2);
    const double roomForRows = bodyBottom - bodyTop - headH;

    auto drawRow = [&](double top, double h, auto cellOf, const QFont& font, QColor back, QColor fore) {
        p.setFont(font);
        for (size_t i = 0; i < n; ++i) {
            const GridCell cell = cellOf(i);
            const QRectF box(x[i], top, x[i + 1] - x[i], h);
            const QColor b = cell.back.isValid() ? cell.back : back;
            if (b != Qt::white) p.fillRect(box, b);
            p.setPen(QPen(QColor(128, 128, 128), line));
            p.drawRect(box);
            if (cell.text.isEmpty()) continue;
            p.setPen(cell.fore.isValid() ? cell.fore : fore);
            p.save();
            p.setClipRect(box);
            p.drawText(box.adjusted(pad, pad, -pad, -pad), cell.text, WrapOption());
            p.restore();
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
        drawRow(bodyTop, headH, [&](size_t i) { return GridCell{g.headings[i], {}, {}}; }, bold, g.headBack, g.headFore);
        return bodyTop + headH;
    };

    int page = 1;
    double y = startPage(page);
    for (const auto& cells : g.rows) {
        const double h = std::min(rowHeight([&](size_t i) { return cells[i].text; }, body), roomForRows);
        if (y + h > bodyBottom + 0.5) y = startPage(++page);
        drawRow(y, h, [&](size_t i) { return cells[i]; }, body, g.back, g.fore);
        y += h;
    }
    p.end();
    return page;
}

}  // namespace vm
