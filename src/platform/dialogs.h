#pragma once
// Every modal dialog of the program goes through one service: the input box,
// the Yes/No message box and the beep. The program uses the Qt dialogs
// (QtDialogs); tests install a scripted double that checks each prompt and
// answers from a queue.

#include <QInputDialog>
#include <QLabel>
#include <QObject>
#include <QPointer>
#include <QString>

#include <optional>

namespace orven {

class Dialogs {
public:
    virtual ~Dialogs() = default;
    // Modal input box with no default text, its top left at x, y twips from the
    // top left of the display. Cancel gives an empty text.
    virtual QString inputBox(const QString& prompt, const QString& title, int xTwips,
                             int yTwips) = 0;
    // The same box for the correction of a value that is already there:
    // std::nullopt when the student backs out (Cancel, Esc, the window's close
    // button), so that the value stays as it was.
    virtual std::optional<QString> correctionBox(const QString& prompt, const QString& title,
                                                 int xTwips, int yTwips) {
        return inputBox(prompt, title, xTwips, yTwips);
    }
    // Modal message box with the buttons "Да" and "Нет" and no icon; true for "Да".
    virtual bool askYesNo(const QString& title, const QString& text) = 0;
    virtual void beep() = 0;
    // Modal message box with a warning icon and the one button "ОК".
    virtual void showWarning(const QString& title, const QString& text) = 0;
    // The same without the warning: a piece of news.
    virtual void showInformation(const QString& title, const QString& text) {
        showWarning(title, text);
    }
};

// The dialogs in use; the Qt dialogs unless another service is installed.
Dialogs& dialogs();
// Installs a service (not owned); nullptr goes back to the Qt dialogs.
void setDialogs(Dialogs* service);

// A character mapping for what is typed into the Qt input boxes (a keyboard
// layout the keyboard itself lacks); nullptr for none. Keys pressed with Ctrl,
// Alt or Meta pass unchanged. A box with a mapping behaves as a keyboard with
// two layouts: it starts with the mapped one, Alt+Shift or Ctrl+Shift switch
// to the keys' own letters and back, and a caption beside the entry line
// shows "РУС" or "LAT" (LayoutSwitch).
using KeyMapping = QChar (*)(QChar);
void setInputKeyMapping(KeyMapping mapping);

// The switch of one entry line: installed as its event filter, it gives each
// printable key its mapped character while the mapped layout is on, and
// keeps caption (when given) saying which layout is on.
class LayoutSwitch : public QObject {
public:
    LayoutSwitch(KeyMapping mapping, QLabel* caption, QObject* parent);

protected:
    bool eventFilter(QObject* target, QEvent* event) override;

private:
    void showLayout();

    KeyMapping mapping_;
    QPointer<QLabel> caption_;
    bool mapped_ = true;
    bool resending_ = false;
};

// Sets a key mapping for its lifetime.
class InputKeyMappingScope {
public:
    explicit InputKeyMappingScope(KeyMapping mapping) { setInputKeyMapping(mapping); }
    ~InputKeyMappingScope() { setInputKeyMapping(nullptr); }
    InputKeyMappingScope(const InputKeyMappingScope&) = delete;
    InputKeyMappingScope& operator=(const InputKeyMappingScope&) = delete;
};

// Sets up an input box as the program shows it: title, prompt, the buttons
// "ОК" and "Отмена", the one width of every box, and the layout caption and
// switch while a key mapping is set.
void setUpInputBox(QInputDialog& box, const QString& prompt, const QString& title);

class QtDialogs : public Dialogs {
public:
    QString inputBox(const QString& prompt, const QString& title, int xTwips, int yTwips) override;
    std::optional<QString> correctionBox(const QString& prompt, const QString& title, int xTwips,
                                         int yTwips) override;
    bool askYesNo(const QString& title, const QString& text) override;
    void beep() override;
    void showWarning(const QString& title, const QString& text) override;
    void showInformation(const QString& title, const QString& text) override;
};

} // namespace orven
