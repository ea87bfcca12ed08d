// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ui/Artwork.h"

#include <QIconEngine>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace {

// One palette for every picture, so the set looks like one set.
const QColor kInk(0x23, 0x2f, 0x3e);
const QColor kBlue(0x2b, 0x6c, 0xb0);
const QColor kLightBlue(0xbe, 0xe3, 0xf8);
const QColor kPaper(0xfa, 0xfb, 0xfc);
const QColor kFolder(0xf6, 0xc3, 0x4d);
const QColor kFolderDark(0xd6, 0x9e, 0x2e);
const QColor kGreen(0x2f, 0x85, 0x5a);
const QColor kOrange(0xdd, 0x6b, 0x20);

QPen Outline(qreal width = 1.5)
{
    QPen pen(kInk, width);
    pen.setJoinStyle(Qt::RoundJoin);
    pen.setCapStyle(Qt::RoundCap);
    return pen;
}

void Sheet(QPainter& p, const QRectF& r)
{
    QPainterPath path;
    const qreal fold = r.width() * 0.35;
    path.moveTo(r.left(), r.top());
    path.lineTo(r.right() - fold, r.top());
    path.lineTo(r.right(), r.top() + fold);
    path.lineTo(r.right(), r.bottom());
    path.lineTo(r.left(), r.bottom());
    path.closeSubpath();
    p.setPen(Outline());
    p.setBrush(kPaper);
    p.drawPath(path);
    p.drawPolyline(
        QPolygonF({{r.right() - fold, r.top()}, {r.right() - fold, r.top() + fold}, {r.right(), r.top() + fold}}));
}

// A handheld radio: body, antenna, display and keypad dots.
void Radio(QPainter& p, const QRectF& body)
{
    p.setPen(Outline());
    p.setBrush(kInk);
    const qreal w = body.width();
    p.drawRoundedRect(QRectF(body.left() + w * 0.18, body.top() - w * 0.75, w * 0.16, w * 0.8), w * 0.06, w * 0.06);
    QLinearGradient shade(body.topLeft(), body.topRight());
    shade.setColorAt(0, kBlue.lighter(115));
    shade.setColorAt(1, kBlue.darker(115));
    p.setBrush(shade);
    p.drawRoundedRect(body, w * 0.18, w * 0.18);
    p.setPen(Qt::NoPen);
    p.setBrush(kLightBlue);
    p.drawRoundedRect(QRectF(body.left() + w * 0.16, body.top() + w * 0.2, w * 0.68, w * 0.38), w * 0.06, w * 0.06);
    p.setBrush(kPaper);
    const qreal dot = w * 0.12;
    for (int row = 0; row < 2; ++row)
        for (int col = 0; col < 3; ++col)
            p.drawEllipse(QRectF(body.left() + w * (0.2 + col * 0.23), body.top() + w * (0.75 + row * 0.25), dot, dot));
}

void Arrow(QPainter& p, QPointF from, QPointF to, const QColor& color)
{
    QPen pen(color, 2.6);
    pen.setCapStyle(Qt::RoundCap);
    pen.setJoinStyle(Qt::RoundJoin);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    p.drawLine(from, to);
    const QPointF d = (to - from) / std::hypot(to.x() - from.x(), to.y() - from.y());
    const QPointF n(-d.y(), d.x());
    p.drawPolyline(QPolygonF({to - d * 4.5 + n * 4.5, to, to - d * 4.5 - n * 4.5}));
}

// Every picture is drawn on a 24 by 24 grid and scaled to the size asked.
void Paint(QPainter& p, TArtwork picture)
{
    switch (picture) {
    case TArtwork::New:
        Sheet(p, QRectF(5, 3, 14, 18));
        p.setPen(QPen(kOrange, 2.2, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(17, 14), QPointF(17, 22));
        p.drawLine(QPointF(13, 18), QPointF(21, 18));
        break;
    case TArtwork::Open: {
        p.setPen(Outline());
        p.setBrush(kFolderDark);
        p.drawPolygon(QPolygonF({{2.5, 6}, {9, 6}, {11, 8}, {19.5, 8}, {19.5, 19.5}, {2.5, 19.5}}));
        p.setBrush(kFolder);
        p.drawPolygon(QPolygonF({{5.5, 11}, {22.5, 11}, {19.5, 19.5}, {2.5, 19.5}}));
        break;
    }
    case TArtwork::Save:
        p.setPen(Outline());
        p.setBrush(kBlue);
        p.drawPolygon(QPolygonF({{3.5, 3.5}, {17.5, 3.5}, {20.5, 6.5}, {20.5, 20.5}, {3.5, 20.5}}));
        p.setBrush(kPaper);
        p.drawRect(QRectF(7, 3.5, 9, 6));
        p.drawRect(QRectF(6.5, 13, 11, 7.5));
        p.setPen(Qt::NoPen);
        p.setBrush(kInk);
        p.drawRect(QRectF(13, 4.5, 2, 4));
        break;
    case TArtwork::Print:
        p.setPen(Outline());
        p.setBrush(kPaper);
        p.drawRect(QRectF(7, 3.5, 10, 6));
        p.setBrush(QColor(0x71, 0x80, 0x96));
        p.drawRoundedRect(QRectF(3, 9.5, 18, 8), 2, 2);
        p.setBrush(kPaper);
        p.drawRect(QRectF(7, 14.5, 10, 6.5));
        p.setPen(QPen(kGreen, 2, Qt::SolidLine, Qt::RoundCap));
        p.drawPoint(QPointF(17.5, 12.5));
        break;
    case TArtwork::Port: {
        // A nine-pin serial connector.
        p.setPen(Outline());
        p.setBrush(QColor(0xa0, 0xae, 0xc0));
        p.drawPolygon(QPolygonF({{2.5, 7}, {21.5, 7}, {18.5, 17}, {5.5, 17}}));
        p.setPen(Qt::NoPen);
        p.setBrush(kInk);
        for (int i = 0; i < 5; ++i)
            p.drawEllipse(QPointF(6.4 + i * 2.8, 10.3), 1.1, 1.1);
        for (int i = 0; i < 4; ++i)
            p.drawEllipse(QPointF(7.8 + i * 2.8, 13.8), 1.1, 1.1);
        break;
    }
    case TArtwork::Read:
        Radio(p, QRectF(3, 9, 9, 13));
        Arrow(p, QPointF(18, 4), QPointF(18, 20), kGreen);
        break;
    case TArtwork::Write:
        Radio(p, QRectF(3, 9, 9, 13));
        Arrow(p, QPointF(18, 20), QPointF(18, 4), kOrange);
        break;
    case TArtwork::Help: {
        p.setPen(Outline());
        p.setBrush(kBlue);
        p.drawEllipse(QRectF(2.5, 2.5, 19, 19));
        QFont font("Sans");
        font.setBold(true);
        font.setPixelSize(14);
        p.setFont(font);
        p.setPen(kPaper);
        p.drawText(QRectF(2.5, 2.5, 19, 19), Qt::AlignCenter, "?");
        break;
    }
    case TArtwork::Radio:
        Radio(p, QRectF(6.5, 9.5, 11, 13));
        break;
    case TArtwork::Node:
        Sheet(p, QRectF(5, 3, 14, 18));
        p.setPen(QPen(kBlue, 1.6, Qt::SolidLine, Qt::RoundCap));
        for (int i = 0; i < 3; ++i)
            p.drawLine(QPointF(8, 11 + i * 3.5), QPointF(16, 11 + i * 3.5));
        break;
    case TArtwork::ChannelNode:
        p.setPen(Outline(1.2));
        p.setBrush(kLightBlue);
        p.drawRoundedRect(QRectF(4, 6, 16, 12), 2.5, 2.5);
        p.setPen(QPen(kBlue, 1.6, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(7, 12), QPointF(17, 12));
        p.drawLine(QPointF(12, 9), QPointF(12, 15));
        break;
    }
}

} // namespace

QPixmap ArtworkPixmap(TArtwork picture, int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.scale(size / 24.0, size / 24.0);
    Paint(p, picture);
    return pixmap;
}

namespace {

// Paints the picture when, and at the size, the icon is drawn: nothing is
// rendered ahead for sizes never used, and every size is sharp.
class TArtworkEngine : public QIconEngine {
public:
    explicit TArtworkEngine(TArtwork picture) : picture_(picture) {}
    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State) override
    {
        const int side = std::min(rect.width(), rect.height());
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing);
        painter->setRenderHint(QPainter::TextAntialiasing);
        painter->translate(rect.x() + (rect.width() - side) / 2.0, rect.y() + (rect.height() - side) / 2.0);
        painter->scale(side / 24.0, side / 24.0);
        if (mode == QIcon::Disabled)
            painter->setOpacity(0.4);
        Paint(*painter, picture_);
        painter->restore();
    }
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override
    {
        QPixmap pixmap(size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        paint(&painter, pixmap.rect(), mode, state);
        return pixmap;
    }
    QIconEngine* clone() const override { return new TArtworkEngine(picture_); }

private:
    TArtwork picture_;
};

} // namespace

QIcon ArtworkIcon(TArtwork picture)
{
    return QIcon(new TArtworkEngine(picture));
}

QPixmap BackgroundPicture()
{
    QPixmap tile(200, 150);
    QPainter p(&tile);
    p.setRenderHint(QPainter::Antialiasing);
    // One flat colour: a gradient would show a seam at every tile edge.
    p.fillRect(tile.rect(), QColor(0x52, 0x74, 0x9a));
    // Faint radio waves that join up from one tile to the next.
    QPen wave(QColor(255, 255, 255, 28), 2);
    p.setPen(wave);
    p.setBrush(Qt::NoBrush);
    for (int r = 16; r <= 70; r += 18) {
        p.drawArc(QRectF(100 - r, 75 - r, 2 * r, 2 * r), 30 * 16, 120 * 16);
        p.drawArc(QRectF(100 - r, 75 - r, 2 * r, 2 * r), 210 * 16, 120 * 16);
    }
    return tile;
}
