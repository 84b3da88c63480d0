#include "mainwindow/ToolIcons.h"

#include "startup/Texts.h"

#include <QAction>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QToolBar>

namespace {

const QColor Ink(0x33, 0x44, 0x55);
const QColor Accent(0x1f, 0x5f, 0xbf);
const QColor Paper(0xfb, 0xfb, 0xf8);
const QColor Good(0x2e, 0x8b, 0x3e);
const QColor Bad(0xc0, 0x39, 0x2b);

void sheet(QPainter &p)
{
    QPainterPath page;
    page.moveTo(5, 2.5);
    page.lineTo(15, 2.5);
    page.lineTo(19.5, 7);
    page.lineTo(19.5, 21.5);
    page.lineTo(5, 21.5);
    page.closeSubpath();
    p.setBrush(Paper);
    p.setPen(QPen(Ink, 1.2));
    p.drawPath(page);
    p.drawLine(QPointF(15, 2.5), QPointF(15, 7));
    p.drawLine(QPointF(15, 7), QPointF(19.5, 7));
}

void lines(QPainter &p, qreal left, qreal right, std::initializer_list<qreal> ys)
{
    p.setPen(QPen(Ink, 1.4, Qt::SolidLine, Qt::RoundCap));
    for (qreal y : ys)
        p.drawLine(QPointF(left, y), QPointF(right, y));
}

void badge(QPainter &p, const QColor &colour, const QString &sign)
{
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawEllipse(QPointF(17, 17), 6, 6);
    p.setPen(QPen(Qt::white, 2, Qt::SolidLine, Qt::RoundCap));
    if (sign == QLatin1String("+")) {
        p.drawLine(QPointF(17, 13.5), QPointF(17, 20.5));
        p.drawLine(QPointF(13.5, 17), QPointF(20.5, 17));
    } else if (sign == QLatin1String("x")) {
        p.drawLine(QPointF(14.5, 14.5), QPointF(19.5, 19.5));
        p.drawLine(QPointF(19.5, 14.5), QPointF(14.5, 19.5));
    } else if (sign == QLatin1String("v")) {
        p.drawLine(QPointF(14, 17), QPointF(16.3, 19.5));
        p.drawLine(QPointF(16.3, 19.5), QPointF(20, 14.5));
    } else if (sign == QLatin1String("-")) {
        p.drawLine(QPointF(13.5, 17), QPointF(20.5, 17));
    }
}

void person(QPainter &p, qreal x, qreal scale, const QColor &colour)
{
    p.setPen(QPen(Ink, 1.1));
    p.setBrush(colour);
    p.drawEllipse(QPointF(x, 8 * scale + (1 - scale) * 14), 3.4 * scale, 3.4 * scale);
    QPainterPath body;
    const qreal top = 13 * scale + (1 - scale) * 16;
    body.moveTo(x - 6 * scale, 21);
    body.cubicTo(x - 6 * scale, top, x + 6 * scale, top, x + 6 * scale, 21);
    body.closeSubpath();
    p.drawPath(body);
}

void arrow(QPainter &p, bool down)
{
    p.setPen(QPen(Accent, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    QPainterPath path;
    if (down) {
        path.moveTo(7, 9);
        path.lineTo(12, 15);
        path.lineTo(17, 9);
    } else {
        path.moveTo(7, 15);
        path.lineTo(12, 9);
        path.lineTo(17, 15);
    }
    p.drawPath(path);
}

void draw(QPainter &p, ToolIcon icon)
{
    switch (icon) {
    case ToolIcon::New:
        sheet(p);
        lines(p, 8, 14, { 10, 13 });
        badge(p, Good, QStringLiteral("+"));
        break;
    case ToolIcon::Edit: {
        sheet(p);
        lines(p, 8, 16, { 10, 13, 16 });
        p.setPen(QPen(Ink, 1));
        p.setBrush(QColor(0xf2, 0xc1, 0x4e));
        QPainterPath pencil;
        pencil.moveTo(11, 21);
        pencil.lineTo(12, 17.5);
        pencil.lineTo(20.5, 9);
        pencil.lineTo(23, 11.5);
        pencil.lineTo(14.5, 20);
        pencil.closeSubpath();
        p.drawPath(pencil);
        break;
    }
    case ToolIcon::ToggleDone:
        sheet(p);
        lines(p, 8, 16, { 10, 13 });
        badge(p, Accent, QStringLiteral("v"));
        break;
    case ToolIcon::Delete:
        sheet(p);
        lines(p, 8, 16, { 10, 13 });
        badge(p, Bad, QStringLiteral("x"));
        break;
    case ToolIcon::Counterparties:
        person(p, 15.5, 0.85, QColor(0xa9, 0xc7, 0xef));
        person(p, 9, 1.0, QColor(0x6f, 0x9f, 0xe0));
        break;
    case ToolIcon::Print: {
        p.setPen(QPen(Ink, 1.2));
        p.setBrush(Paper);
        p.drawRect(QRectF(7, 3, 10, 6));
        p.setBrush(QColor(0xc9, 0xd1, 0xdb));
        p.drawRoundedRect(QRectF(3, 9, 18, 8), 1.5, 1.5);
        p.setBrush(Paper);
        p.drawRect(QRectF(7, 14, 10, 7));
        lines(p, 9, 15, { 17, 19 });
        break;
    }
    case ToolIcon::Export: {
        sheet(p);
        lines(p, 8, 12, { 10, 13, 16 });
        p.setPen(QPen(Accent, 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawLine(QPointF(12, 17), QPointF(22, 17));
        p.drawLine(QPointF(18.5, 13.5), QPointF(22, 17));
        p.drawLine(QPointF(18.5, 20.5), QPointF(22, 17));
        break;
    }
    case ToolIcon::Preferences: { // three sliders
        p.setPen(QPen(Ink, 1.6, Qt::SolidLine, Qt::RoundCap));
        for (qreal y : { 6.0, 12.0, 18.0 })
            p.drawLine(QPointF(4, y), QPointF(20, y));
        p.setBrush(Accent);
        p.setPen(QPen(Qt::white, 1));
        p.drawEllipse(QPointF(15, 6), 2.6, 2.6);
        p.drawEllipse(QPointF(8, 12), 2.6, 2.6);
        p.drawEllipse(QPointF(13, 18), 2.6, 2.6);
        break;
    }
    case ToolIcon::ExpandAll:
    case ToolIcon::CollapseAll: {
        p.setPen(QPen(Ink, 1.2));
        p.setBrush(Paper);
        p.drawRect(QRectF(3.5, 3.5, 17, 17));
        arrow(p, icon == ToolIcon::ExpandAll);
        break;
    }
    case ToolIcon::PlainLayout:
        lines(p, 4, 20, { 6, 10, 14, 18 });
        break;
    case ToolIcon::DateLayout:
        p.setPen(QPen(Ink, 1.3));
        p.setBrush(Paper);
        p.drawEllipse(QPointF(12, 12), 8.5, 8.5);
        p.setPen(QPen(Accent, 1.8, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(12, 12), QPointF(12, 6.5));
        p.drawLine(QPointF(12, 12), QPointF(16, 14));
        break;
    case ToolIcon::MonthLayout:
        p.setPen(QPen(Ink, 1.2));
        p.setBrush(Paper);
        p.drawRect(QRectF(3.5, 5, 17, 15.5));
        p.setBrush(Bad);
        p.drawRect(QRectF(3.5, 5, 17, 4));
        p.setPen(QPen(Ink, 1.6, Qt::SolidLine, Qt::RoundCap));
        for (qreal x : { 7.0, 12.0, 17.0 })
            for (qreal y : { 12.5, 16.5 })
                p.drawPoint(QPointF(x, y));
        break;
    case ToolIcon::CounterpartyLayout:
        person(p, 12, 1.0, QColor(0x6f, 0x9f, 0xe0));
        break;
    case ToolIcon::FindNext:
    case ToolIcon::FindPrevious:
        arrow(p, icon == ToolIcon::FindNext);
        break;
    case ToolIcon::Search:
        p.setPen(QPen(Ink, 2, Qt::SolidLine, Qt::RoundCap));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QPointF(10, 10), 5.5, 5.5);
        p.drawLine(QPointF(14, 14), QPointF(20, 20));
        break;
    default:
        break;
    }
}

} // namespace

QIcon toolIcon(ToolIcon which)
{
    QIcon icon;
    for (int size : { 16, 24, 32, 48 }) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.scale(size / 24.0, size / 24.0);
        draw(painter, which);
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

QString plainCaption(int textId)
{
    QString text = Texts::text(textId);
    for (qsizetype i = 0; i < text.size(); ++i)
        if (text.at(i) == QLatin1Char('&'))
            text.remove(i, 1);   // the next character, a second "&" included, is kept
    return text;
}

QAction *addToolButton(QToolBar *bar, const char *name, ToolIcon icon, int tipId)
{
    const QString tip = plainCaption(tipId);
    QAction *action = bar->addAction(toolIcon(icon), tip);
    action->setToolTip(tip);
    action->setObjectName(QLatin1String(name));
    return action;
}
