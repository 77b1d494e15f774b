#pragma once
// Screen: one top-level window of the program (a "form"). It has a load step,
// run once when the screen is first touched through screen<T>() (screens.h),
// a position and size in twips, and a retained drawing surface: text, lines and
// filled rectangles drawn onto it are kept in a list and replayed on every
// repaint, so they survive covering and re-showing. Text is printed at the
// current position (currentX/currentY, twips) like a line printer: the top of
// the text at currentY, then the position moves to the start of the next line.
//
// Closing the window with its title-bar button ends the program; the program's
// own unloading (unloadScreen) does not.

#include <QColor>
#include <QFont>
#include <QImage>
#include <QLine>
#include <QList>
#include <QRect>
#include <QString>
#include <QStringList>
#include <QWidget>

namespace orven {

// One text run printed onto a surface; x and y are twips of its top left.
struct SurfaceText {
    QString text;
    int x = 0;
    int y = 0;
    QColor color;
    QFont font;
};

enum class SurfaceUnit { Twips, Pixels };

class Screen : public QWidget {
    Q_OBJECT

public:
    explicit Screen(QWidget* parent = nullptr);
    ~Screen() override;

    // The load step; runs once, right after the screen is created by screen<T>().
    virtual void load() {}

    // Window position (frame, from the top left of the display) and client size, twips.
    int leftTwips() const;
    int topTwips() const;
    int widthTwips() const;
    int heightTwips() const;
    void setLeftTwips(int left);
    void setTopTwips(int top);
    void setWidthTwips(int width);
    void setHeightTwips(int height);
    void moveTwips(int left, int top);
    void resizeTwips(int width, int height);

    // The same for child controls (also free functions, below).
    static int leftTwips(const QWidget* control);
    static int topTwips(const QWidget* control);
    static int widthTwips(const QWidget* control);
    static int heightTwips(const QWidget* control);
    static void setLeftTwips(QWidget* control, int left);
    static void setTopTwips(QWidget* control, int top);
    static void setWidthTwips(QWidget* control, int width);
    static void setHeightTwips(QWidget* control, int height);
    static void placeTwips(QWidget* control, int left, int top, int width, int height);

    void setCaption(const QString& caption) { setWindowTitle(caption); }
    QString caption() const { return windowTitle(); }

    void setBackgroundColor(const QColor& color);
    QColor backgroundColor() const;

    // --- Drawing surface -------------------------------------------------
    int currentX() const { return m_currentX; }
    int currentY() const { return m_currentY; }
    void setCurrentX(int twips) { m_currentX = twips; }
    void setCurrentY(int twips) { m_currentY = twips; }
    void setCurrentPosition(int x, int y);

    QColor foreColor() const { return m_foreColor; }
    void setForeColor(const QColor& color) { m_foreColor = color; }

    // The font of printed text; until set, the screen's own font.
    QFont surfaceFont() const;
    void setSurfaceFont(const QFont& font);

    // Prints text with its top at currentY, then currentX = 0 and currentY
    // advances by one line of the surface font.
    void print(const QString& text);
    // Prints text and leaves the position right after it on the same line.
    void printInline(const QString& text);
    // Height of a line and width of a text in the surface font, twips.
    int textHeightTwips() const;
    int textWidthTwips(const QString& text) const;

    // Straight line between two points in twips, one pixel wide.
    void drawLine(int x1, int y1, int x2, int y2, const QColor& color);
    // Filled rectangle without outline. A rectangle made from two corners,
    // QRect(QPoint, QPoint), covers both corners whichever way round they are.
    // Pixel rectangles are filled exactly; twip rectangles cover the pixels
    // from twipsToPixels(left) up to, not including, twipsToPixels(right + 1).
    void fillRect(const QRect& rect, const QColor& color, SurfaceUnit unit = SurfaceUnit::Twips);
    // Puts an image on the surface at topLeft (pixels), one pixel of the
    // image a pixel of the surface.
    void drawImage(const QPoint& topLeft, const QImage& image);
    // Erases everything drawn and puts the position back at 0, 0.
    void clearSurface();

    // What has been printed and is still on the surface, in print order.
    QList<SurfaceText> printedTexts() const;
    // The printed texts alone, convenient for comparisons in tests.
    QStringList printedLines() const;

    // Size of the surface's item list (texts, lines and rectangles).
    int surfaceItemCount() const { return static_cast<int>(m_items.size()); }

    // Set by unloadScreen: a close from now on is the program's, not the user's.
    void markUnloading() { m_unloading = true; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    // What the window's close button does. It ends the whole program, which
    // finishes an open report; a screen where closing means one of its own
    // buttons (a dialog, a text screen with one way back) presses that button.
    virtual void closeButtonPressed();

private:
    // Moves the window in as far as its frame stands outside the display's
    // available area (once the window manager has framed it).
    void keepFrameInsideSoon();

    bool m_frameCheckPending = false;
    struct Item {
        enum class Kind { Text, Line, Rect, Image } kind = Kind::Text;
        SurfaceText text; // Kind::Text
        QRect rect;       // Kind::Rect, pixels; Kind::Image, its place
        QImage image;     // Kind::Image
        QLine line;       // Kind::Line, pixels
        QColor color;     // Kind::Line, Kind::Rect
    };

    void addText(const QString& text);

    QList<Item> m_items;
    int m_currentX = 0;
    int m_currentY = 0;
    QColor m_foreColor = Qt::black;
    QFont m_surfaceFont;
    bool m_surfaceFontSet = false;
    bool m_unloading = false;
};

// Twip geometry of any control (or screen).
int leftTwips(const QWidget* control);
int topTwips(const QWidget* control);
int widthTwips(const QWidget* control);
int heightTwips(const QWidget* control);
void setLeftTwips(QWidget* control, int left);
void setTopTwips(QWidget* control, int top);
void setWidthTwips(QWidget* control, int width);
void setHeightTwips(QWidget* control, int height);
void placeTwips(QWidget* control, int left, int top, int width, int height);

} // namespace orven
