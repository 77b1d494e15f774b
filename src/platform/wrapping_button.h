#pragma once
// A command button whose caption breaks between words when it is wider than the
// button, the way the program's buttons show long captions on two lines.
// text() stays the caption as set; only the painting differs from QPushButton.

#include <QPushButton>

namespace orven {

class WrappingButton : public QPushButton {
    Q_OBJECT
public:
    explicit WrappingButton(const QString& caption, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace orven
