// Turns the user manual's text (Markdown) into the PDF the program opens.
// Every chapter ("## " heading) starts on a page of its own, and the line
// "[contents]" becomes a table of the chapters and the pages they start on,
// so the page numbers the program's help texts give stay easy to check.
#include <QFile>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QAbstractTextDocumentLayout>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s MANUAL.md OUTPUT.pdf\n", argv[0]);
        return 2;
    }
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QGuiApplication app(argc, argv);
    QFile in(QString::fromLocal8Bit(argv[1]));
    if (!in.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "mkmanual: cannot read %s\n", argv[1]);
        return 1;
    }
    const QString text = QString::fromUtf8(in.readAll());
    QStringList chapters;
    for (const QString& line : text.split('\n'))
        if (line.startsWith("## ")) chapters << line.mid(3).trimmed();

    QPdfWriter pdf(QString::fromLocal8Bit(argv[2]));
    pdf.setTitle("Velmora User Manual");
    pdf.setCreator("Velmora");
    pdf.setPageSize(QPageSize(QPageSize::A4));
    pdf.setPageMargins(QMarginsF(18, 18, 18, 18), QPageLayout::Millimeter);

    // Lays the text out for the writer itself, so the page and the fonts are
    // measured in the same units: real A4 pages, as many as the text needs.
    // Returns the first page of each chapter.
    QTextDocument doc;
    auto layOut = [&](const QList<int>& pages) {
        QString contents = "| Chapter | Page |\n|---|---|\n";
        for (int i = 0; i < chapters.size(); ++i)
            contents += "| " + chapters[i] + " | " + (pages.isEmpty() ? QString("00") : QString::number(pages[i])) + " |\n";
        QString md = text;
        md.replace("[contents]", contents);
        doc.clear();
        doc.documentLayout()->setPaintDevice(&pdf);
        doc.setDefaultFont(QFont("DejaVu Sans", 10));
        doc.setMarkdown(md);
        doc.setPageSize(QSizeF(pdf.width(), pdf.height()));
        QList<int> starts;
        for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
            if (b.blockFormat().headingLevel() != 2) continue;
            QTextBlockFormat f = b.blockFormat();
            f.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
            QTextCursor(b).setBlockFormat(f);
        }
        doc.setPageSize(QSizeF(pdf.width(), pdf.height()));  // lays the whole text out again
        doc.pageCount();
        const qreal pageHeight = doc.pageSize().height();
        for (QTextBlock b = doc.begin(); b.isValid(); b = b.next())
            if (b.blockFormat().headingLevel() == 2)
                starts << int(doc.documentLayout()->blockBoundingRect(b).top() / pageHeight) + 1;
        return starts;
    };
    QList<int> pages = layOut({});
    for (int pass = 0; pass < 3; ++pass) {
        const QList<int> again = layOut(pages);
        if (again == pages) break;
        pages = again;
    }
    for (int i = 0; i < chapters.size() && i < pages.size(); ++i)
        std::printf("mkmanual: page %d: %s\n", pages[i], qPrintable(chapters[i]));
    doc.print(&pdf);
    return 0;
}
