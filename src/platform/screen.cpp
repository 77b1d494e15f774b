#include "platform/screen.h"

#include "platform/display_fit.h"
#include "platform/program_end.h"
#include "platform/screens.h"
#include "platform/twips.h"

#include <QCloseEvent>
#include <QFontInfo>
#include <QFontMetrics>
#include <QPainter>
#include <QScreen>
#include <QTimer>

namespace orven {

int leftTwips(const QWidget* control) {
    return pixelsToTwips(control->x());
}
int topTwips(const QWidget* control) {
    return pixelsToTwips(control->y());
}
int widthTwips(const QWidget* control) {
    return pixelsToTwips(control->width());
}
int heightTwips(const QWidget* control) {
    return pixelsToTwips(control->height());
}

void setLeftTwips(QWidget* control, int left) {
    control->move(twipsToPixels(left), control->y());
}
void setTopTwips(QWidget* control, int top) {
    control->move(control->x(), twipsToPixels(top));
}

void setWidthTwips(QWidget* control, int width) {
    control->resize(twipsToPixels(width), control->height());
}

void setHeightTwips(QWidget* control, int height) {
    control->resize(control->width(), twipsToPixels(height));
}

void placeTwips(QWidget* control, int left, int top, int width, int height) {
    control->setGeometry(twipsToPixels(left), twipsToPixels(top), twipsToPixels(width),
                         twipsToPixels(height));
}

Screen::Screen(QWidget* parent) : QWidget(parent, Qt::Window) {
    // The program decides when it ends (program_end.h), not the last window.
    setAttribute(Qt::WA_QuitOnClose, false);
}

Screen::~Screen() {
    forgetScreen(this);
}

int Screen::leftTwips() const {
    return orven::leftTwips(this);
}
int Screen::topTwips() const {
    return orven::topTwips(this);
}
int Screen::widthTwips() const {
    return orven::widthTwips(this);
}
int Screen::heightTwips() const {
    return orven::heightTwips(this);
}
void Screen::setLeftTwips(int left) {
    orven::setLeftTwips(this, left);
}
void Screen::setTopTwips(int top) {
    orven::setTopTwips(this, top);
}
void Screen::setWidthTwips(int width) {
    orven::setWidthTwips(this, width);
}
void Screen::setHeightTwips(int height) {
    orven::setHeightTwips(this, height);
}
void Screen::moveTwips(int left, int top) {
    move(twipsToPixels(left), twipsToPixels(top));
}

void Screen::resizeTwips(int width, int height) {
    resize(twipsToPixels(width), twipsToPixels(height));
}

int Screen::leftTwips(const QWidget* control) {
    return orven::leftTwips(control);
}
int Screen::topTwips(const QWidget* control) {
    return orven::topTwips(control);
}
int Screen::widthTwips(const QWidget* control) {
    return orven::widthTwips(control);
}
int Screen::heightTwips(const QWidget* control) {
    return orven::heightTwips(control);
}
void Screen::setLeftTwips(QWidget* control, int left) {
    orven::setLeftTwips(control, left);
}
void Screen::setTopTwips(QWidget* control, int top) {
    orven::setTopTwips(control, top);
}
void Screen::setWidthTwips(QWidget* control, int width) {
    orven::setWidthTwips(control, width);
}
void Screen::setHeightTwips(QWidget* control, int height) {
    orven::setHeightTwips(control, height);
}

void Screen::placeTwips(QWidget* control, int left, int top, int width, int height) {
    orven::placeTwips(control, left, top, width, height);
}

void Screen::setBackgroundColor(const QColor& color) {
    QPalette pal = palette();
    pal.setColor(QPalette::Window, color);
    setPalette(pal);
    setAutoFillBackground(true);
}

QColor Screen::backgroundColor() const {
    return palette().color(QPalette::Window);
}

void Screen::setCurrentPosition(int x, int y) {
    m_currentX = x;
    m_currentY = y;
}

QFont Screen::surfaceFont() const {
    return m_surfaceFontSet ? m_surfaceFont : font();
}

void Screen::setSurfaceFont(const QFont& font) {
    m_surfaceFont = font;
    m_surfaceFontSet = true;
}

int Screen::textHeightTwips() const {
    const QFont font = surfaceFont();
    // Lines of fixed-pitch text are as high as the font's em (13 px at 9.75 pt),
    // the pitch the screens were laid out with. The installed fixed-pitch fonts
    // add two pixels of line spacing, enough to push the last lines of the
    // results under the buttons.
    const QFontInfo info(font);
    if (info.fixedPitch())
        return pixelsToTwips(info.pixelSize());
    return pixelsToTwips(QFontMetrics(font, this).height());
}

int Screen::textWidthTwips(const QString& text) const {
    return pixelsToTwips(QFontMetrics(surfaceFont(), this).horizontalAdvance(text));
}

void Screen::addText(const QString& text) {
    Item item;
    item.kind = Item::Kind::Text;
    item.text = SurfaceText{text, m_currentX, m_currentY, m_foreColor, surfaceFont()};
    m_items.append(item);
    update();
}

void Screen::print(const QString& text) {
    addText(text);
    m_currentX = 0;
    m_currentY += textHeightTwips();
}

void Screen::printInline(const QString& text) {
    addText(text);
    m_currentX += textWidthTwips(text);
}

void Screen::drawLine(int x1, int y1, int x2, int y2, const QColor& color) {
    Item item;
    item.kind = Item::Kind::Line;
    item.line = QLine(twipsToPixels(x1), twipsToPixels(y1), twipsToPixels(x2), twipsToPixels(y2));
    item.color = color;
    m_items.append(item);
    update();
}

void Screen::fillRect(const QRect& rect, const QColor& color, SurfaceUnit unit) {
    // A rectangle made from two corners the wrong way round still means the
    // area between them, both corners included.
    const QRect area(QPoint(qMin(rect.left(), rect.right()), qMin(rect.top(), rect.bottom())),
                     QPoint(qMax(rect.left(), rect.right()), qMax(rect.top(), rect.bottom())));
    Item item;
    item.kind = Item::Kind::Rect;
    if (unit == SurfaceUnit::Pixels) {
        item.rect = area;
    } else {
        item.rect = QRect(
            QPoint(twipsToPixels(area.left()), twipsToPixels(area.top())),
            QPoint(twipsToPixels(area.right() + 1) - 1, twipsToPixels(area.bottom() + 1) - 1));
    }
    item.color = color;
    m_items.append(item);
    update();
}

void Screen::drawImage(const QPoint& topLeft, const QImage& image) {
    Item item;
    item.kind = Item::Kind::Image;
    item.rect = QRect(topLeft, image.size());
    item.image = image;
    m_items.append(item);
    update();
}

void Screen::clearSurface() {
    m_items.clear();
    m_currentX = 0;
    m_currentY = 0;
    update();
}

QList<SurfaceText> Screen::printedTexts() const {
    QList<SurfaceText> texts;
    for (const Item& item : m_items) {
        if (item.kind == Item::Kind::Text)
            texts.append(item.text);
    }
    return texts;
}

QStringList Screen::printedLines() const {
    QStringList lines;
    for (const Item& item : m_items) {
        if (item.kind == Item::Kind::Text)
            lines.append(item.text.text);
    }
    return lines;
}

void Screen::paintEvent(QPaintEvent* /*event*/) {
    if (m_items.isEmpty())
        return;
    QPainter painter(this);
    for (const Item& item : m_items) {
        switch (item.kind) {
        case Item::Kind::Rect:
            painter.fillRect(item.rect, item.color);
            break;
        case Item::Kind::Image:
            painter.drawImage(item.rect, item.image);
            break;
        case Item::Kind::Line:
            painter.setPen(QPen(item.color, 1));
            painter.drawLine(item.line);
            break;
        case Item::Kind::Text: {
            painter.setFont(item.text.font);
            painter.setPen(item.text.color);
            const QFontMetrics metrics(item.text.font, this);
            painter.drawText(twipsToPixels(item.text.x),
                             twipsToPixels(item.text.y) + metrics.ascent(), item.text.text);
            break;
        }
        }
    }
}

void Screen::closeEvent(QCloseEvent* event) {
    if (m_unloading || programEnded()) {
        event->accept();
        return;
    }
    // The screen decides; the window goes only when that takes the screen away.
    closeButtonPressed();
    event->setAccepted(m_unloading || programEnded());
}

void Screen::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    keepFrameInsideSoon();
}

void Screen::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (isVisible())
        keepFrameInsideSoon();
}

void Screen::keepFrameInsideSoon() {
    if (m_frameCheckPending || !isWindow())
        return;
    m_frameCheckPending = true;
    // The frame is known only after the window manager has put it round.
    constexpr int framingDelayMs = 150;
    QTimer::singleShot(framingDelayMs, this, [this] {
        m_frameCheckPending = false;
        if (!isVisible() || m_unloading || screen() == nullptr)
            return;
        const QPoint shift = frameShiftInto(frameGeometry(), screen()->availableGeometry());
        if (!shift.isNull())
            move(pos() + shift);
    });
}

void Screen::closeButtonPressed() {
    // A run with no visible window left could not be ended by the student any
    // more, so a screen with no way back of its own ends the program.
    endProgram();
}

} // namespace orven
