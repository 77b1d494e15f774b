#pragma once
// The small "Внимание !" dialog that says the initial data contain an error and
// asks whether the student wants to change them. Three screens share its look:
// Form4 belongs to the first-input screen, Form12 to the correction screen, and
// Form13 is opened by the packs-and-channels dialogue when the channel totals
// differ. The owners connect the two buttons; the dialog itself only lays out.

#include "platform/screen.h"

class QLabel;
class QPushButton;

namespace orven {

class ErrorDialogScreen : public Screen {
    Q_OBJECT
public:
    enum class Variant { FirstInput, Correction, ChannelSum };

    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QPushButton* Command1 = nullptr; // "Да"
    QPushButton* Command2 = nullptr; // "Нет"

    Variant variant() const { return m_variant; }
    void load() override;

protected:
    explicit ErrorDialogScreen(Variant variant);
    // Closing the question is not ending the program: it answers "Да".
    void closeButtonPressed() override;

private:
    Variant m_variant;
};

class Form4 : public ErrorDialogScreen {
    Q_OBJECT
public:
    Form4() : ErrorDialogScreen(Variant::FirstInput) { setObjectName(QStringLiteral("Form4")); }
};

class Form12 : public ErrorDialogScreen {
    Q_OBJECT
public:
    Form12() : ErrorDialogScreen(Variant::Correction) { setObjectName(QStringLiteral("Form12")); }
};

class Form13 : public ErrorDialogScreen {
    Q_OBJECT
public:
    Form13() : ErrorDialogScreen(Variant::ChannelSum) { setObjectName(QStringLiteral("Form13")); }
};

} // namespace orven
