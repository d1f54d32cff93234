#include "exchange/gridpages.h"

#include <QAbstractItemModel>
#include <QBrush>
#include <QFontMetricsF>
#include <QHeaderView>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QTableView>

#include <algorithm>
#include <numeric>

#include "platform/steps.h"

namespace vm {
namespace {

QColor ColorOf(const QVariant& v) {
    if (v.canConvert<QBrush>()) return v.value<QBrush>().color();
    if (v.canConvert<QColor>()) return v.value<QColor>();
    return {};
}

constexpr int kWrap = Qt::TextWordWrap | Qt::AlignLeft | Qt::AlignTop;

double TextHeight(const QFontMetricsF& fm, double width, const QString& text) {
    if (text.isEmpty()) return fm.height();
    return fm.boundingRect(QRectF(0, 0, std::max(width, 1.0), 1e9), kWrap, text).height();
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
        out.widths.push_back(std::max(grid.columnWidth(c), 20));
    }
    const int rows = model->rowCount();
    out.rows.reserve(size_t(rows));
    for (int r = 0; r < rows; ++r) {
        if (grid.isRowHidden(r)) continue;
        std::vector<GridCell> cells;
        cells.reserve(columns.size());
        for (int c : columns) {
            const QModelIndex at = model->index(r, c);
            GridCell cell{model->data(at, Qt::DisplayRole).toString(), {}, {}};
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
    const QFontMetricsF fmBody(body, &device), fmBold(bold, &device), fmTitle(title, &device);
    const double pad = fmBody.height() * 0.25;
    const double line = std::max(1.0, device.logicalDpiX() / 150.0);

    // Column edges across the page width.
    const size_t n = g.headings.size();
    const double total = std::accumulate(g.widths.begin(), g.widths.end(), 0.0);
    std::vector<double> x(n + 1, 0.0);
    for (size_t i = 0; i < n; ++i) x[i + 1] = x[i] + (total > 0 ? g.widths[i] / total * pageW : 0);

    auto rowHeight = [&](auto textOf, const QFontMetricsF& fm) {
        double h = fm.height();
        for (size_t i = 0; i < n; ++i) h = std::max(h, TextHeight(fm, x[i + 1] - x[i] - 2 * pad, textOf(i)));
        return h + 2 * pad;
    };
    const double titleH = fmTitle.height() * 1.5, footerH = fmBody.height() * 1.8;
    const double bodyTop = titleH, bodyBottom = pageH - footerH;
    const double headH = std::min(rowHeight([&](size_t i) { return g.headings[i]; }, fmBold), (bodyBottom - bodyTop) / 2);
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
            p.drawText(box.adjusted(pad, pad, -pad, -pad), kWrap, cell.text);
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
        const double h = std::min(rowHeight([&](size_t i) { return cells[i].text; }, fmBody), roomForRows);
        if (y + h > bodyBottom + 0.5) y = startPage(++page);
        drawRow(y, h, [&](size_t i) { return cells[i]; }, body, g.back, g.fore);
        y += h;
    }
    p.end();
    return page;
}

}  // namespace vm
