// SPDX-License-Identifier: GPL-3.0-or-later
#include "image/formats/qt/PrintPainter.h"

#include <QBuffer>
#include <QFont>
#include <QFontMetrics>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <algorithm>
#include <vector>

namespace {
// One line of the printout: a title, a header or settings pair, or a row of
// the channel table. Every line is one text line high.
struct Line {
    enum Kind { Title, Heading, Pair, TableHead, TableRow, Gap } kind;
    std::vector<QString> cells;
};

QString Q(const std::string& text)
{
    return QString::fromStdString(text);
}

std::vector<Line> Lines(const PrintContent& c)
{
    std::vector<Line> lines;
    for (const auto& [label, value] : c.header)
        lines.push_back({Line::Pair, {Q(label), Q(value)}});
    lines.push_back({Line::Gap, {}});
    lines.push_back({Line::Title, {Q(c.channelsTitle)}});
    Line head{Line::TableHead, {}};
    for (const std::string& title : c.columns)
        head.cells.push_back(Q(title));
    lines.push_back(head);
    for (const auto& row : c.rows) {
        Line line{Line::TableRow, {}};
        for (const std::string& cell : row)
            line.cells.push_back(Q(cell));
        lines.push_back(line);
    }
    lines.push_back({Line::Gap, {}});
    lines.push_back({Line::Title, {Q(c.settingsTitle)}});
    for (const PrintSettingGroup& group : c.settingGroups) {
        lines.push_back({Line::Heading, {Q(group.title)}});
        for (const auto& [label, value] : group.settings)
            lines.push_back({Line::Pair, {Q(label), Q(value)}});
    }
    return lines;
}

// Column widths of the channel table: each as wide as its widest text,
// then all spread to the page width.
std::vector<double> ColumnWidths(const std::vector<Line>& lines, const QFontMetricsF& bold, double pageWidth)
{
    std::vector<double> widths;
    for (const Line& line : lines) {
        if (line.kind != Line::TableHead && line.kind != Line::TableRow)
            continue;
        widths.resize(std::max(widths.size(), line.cells.size()), 0.0);
        for (size_t i = 0; i < line.cells.size(); ++i)
            widths[i] = std::max(widths[i], bold.horizontalAdvance(line.cells[i]) + bold.averageCharWidth() * 2);
    }
    double total = 0;
    for (double w : widths)
        total += w;
    if (total > 0)
        for (double& w : widths)
            w *= pageWidth / total;
    return widths;
}

// A printer or a PDF writer: both page devices tell their layout and
// resolution the same way.
template <class PageDevice>
void PaintPages(PageDevice& printer, const PrintContent& content)
{
    // At least the usual margins of a letter, whatever the printer's least is.
    const QMarginsF least = printer.pageLayout().margins(QPageLayout::Millimeter);
    constexpr double kMarginMm = 15;
    printer.setPageMargins(QMarginsF(std::max(least.left(), kMarginMm), std::max(least.top(), kMarginMm),
                                     std::max(least.right(), kMarginMm), std::max(least.bottom(), kMarginMm)),
                           QPageLayout::Millimeter);
    QPainter painter(&printer);
    if (!painter.isActive())
        return;
    QFont normal = painter.font();
    normal.setPointSizeF(9);
    QFont bold = normal;
    bold.setBold(true);
    QFont title = bold;
    title.setPointSizeF(12);
    QFont heading = bold;
    heading.setPointSizeF(10.5);
    painter.setFont(normal);

    const QRectF page = printer.pageLayout().paintRectPixels(printer.resolution());
    const QRectF area(0, 0, page.width(), page.height());
    const double lineHeight = QFontMetricsF(title, &printer).height() * 1.2;
    const int linesPerPage = std::max(1, static_cast<int>(area.height() / lineHeight) - 2); // room for the footer
    const std::vector<Line> lines = Lines(content);
    const std::vector<double> widths = ColumnWidths(lines, QFontMetricsF(bold, &printer), area.width());
    const double labelWidth = area.width() * 0.4;
    const int pages = static_cast<int>((lines.size() + static_cast<size_t>(linesPerPage) - 1) /
                                       static_cast<size_t>(linesPerPage));

    for (int p = 0; p < pages; ++p) {
        if (p > 0)
            printer.newPage();
        double y = 0;
        for (size_t i = static_cast<size_t>(p) * static_cast<size_t>(linesPerPage);
             i < lines.size() && i < static_cast<size_t>(p + 1) * static_cast<size_t>(linesPerPage); ++i) {
            const Line& line = lines[i];
            const QRectF row(0, y, area.width(), lineHeight);
            switch (line.kind) {
            case Line::Title:
                painter.setFont(title);
                painter.drawText(row, Qt::AlignLeft | Qt::AlignVCenter, line.cells[0]);
                break;
            case Line::Heading:
                painter.setFont(heading);
                painter.drawText(row, Qt::AlignLeft | Qt::AlignBottom, line.cells[0]);
                break;
            case Line::Pair:
                painter.setFont(bold);
                painter.drawText(QRectF(0, y, labelWidth, lineHeight), Qt::AlignLeft | Qt::AlignVCenter, line.cells[0]);
                painter.setFont(normal);
                painter.drawText(QRectF(labelWidth, y, area.width() - labelWidth, lineHeight),
                                 Qt::AlignLeft | Qt::AlignVCenter, line.cells[1]);
                break;
            case Line::TableHead:
            case Line::TableRow: {
                painter.setFont(line.kind == Line::TableHead ? bold : normal);
                double x = 0;
                for (size_t c = 0; c < line.cells.size() && c < widths.size(); ++c) {
                    const QRectF cell(x, y, widths[c], lineHeight);
                    painter.drawRect(cell);
                    painter.drawText(cell, Qt::AlignCenter, line.cells[c]);
                    x += widths[c];
                }
                break;
            }
            case Line::Gap:
                break;
            }
            y += lineHeight;
        }
        painter.setFont(normal);
        QString footer = Q(content.pagePattern);
        footer.replace("%1", QString::number(p + 1)).replace("%2", QString::number(pages));
        painter.drawText(QRectF(0, area.height() - lineHeight, area.width(), lineHeight), Qt::AlignCenter, footer);
    }
}
} // namespace

void PaintPrint(QPrinter& printer, const PrintContent& content)
{
    PaintPages(printer, content);
}

QByteArray PdfBytes(const PrintContent& content)
{
    // The pages of a PDF printer, so the file and "Print to PDF" agree.
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setPageSize(QPageSize(QPageSize::A4));
    QByteArray bytes;
    {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter writer(&buffer);
        writer.setResolution(printer.resolution());
        writer.setPageLayout(printer.pageLayout());
        PaintPages(writer, content);
    }
    return bytes;
}
