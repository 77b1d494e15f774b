#pragma once
// Test double of the dialogs service: the test scripts the dialogs it expects,
// in order, with the answers to give. Each dialog shown is checked against the
// next step (prompt, title, position); a step may run a callback at the moment
// its dialog is shown, to look at the screens then. An unexpected or wrong
// dialog is a test failure (answered with an empty text / "Нет").
// Constructing the double installs it; destroying it puts the Qt dialogs back.

#include "platform/dialogs.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

namespace orven::test {

class ScriptedDialogs : public Dialogs {
public:
    ScriptedDialogs();
    ~ScriptedDialogs() override;
    ScriptedDialogs(const ScriptedDialogs&) = delete;
    ScriptedDialogs& operator=(const ScriptedDialogs&) = delete;

    void expectInput(const QString& prompt, const QString& title, int xTwips, int yTwips,
                     const QString& answer, std::function<void()> onShown = {});
    // An input box the student backs out of (Cancel): an empty text from
    // inputBox, no text at all from correctionBox.
    void expectCancelledInput(const QString& prompt, const QString& title, int xTwips, int yTwips);
    void expectYesNo(const QString& title, const QString& text, bool answer,
                     std::function<void()> onShown = {});

    // True when every step was used and nothing went wrong; otherwise also
    // records a test failure (when failures are reported at once).
    bool verifyDone();

    int beepCount() const { return m_beeps; }
    int pendingSteps() const { return static_cast<int>(m_steps.size()); }
    // Every mismatch so far, in words.
    QStringList failures() const { return m_failures; }
    // Titles of the dialogs shown so far, in order.
    QStringList shownTitles() const { return m_shown; }

    // By default a mismatch fails the running test at once (QTest::qFail);
    // tests of this double turn that off and read failures().
    void setFailImmediately(bool failImmediately) { m_failImmediately = failImmediately; }

    // Forgets steps, failures, shown dialogs and beeps.
    void clear();

    QString inputBox(const QString& prompt, const QString& title, int xTwips, int yTwips) override;
    std::optional<QString> correctionBox(const QString& prompt, const QString& title, int xTwips,
                                         int yTwips) override;
    bool askYesNo(const QString& title, const QString& text) override;
    void beep() override { ++m_beeps; }
    // Warnings are not scripted: each is kept as "title: text".
    void showWarning(const QString& title, const QString& text) override {
        m_warnings << title + QStringLiteral(": ") + text;
    }
    QStringList warnings() const { return m_warnings; }
    // So are pieces of news.
    void showInformation(const QString& title, const QString& text) override {
        m_informations << title + QStringLiteral(": ") + text;
    }
    QStringList informations() const { return m_informations; }

private:
    struct Step {
        bool isInput = true;
        QString prompt; // input: prompt; yes/no: text
        QString title;
        int x = 0;
        int y = 0;
        QString answer;
        bool cancelled = false;
        bool yes = false;
        std::function<void()> onShown;
    };
    QStringList m_informations;

    void fail(const QString& message);

    QList<Step> m_steps;
    QStringList m_failures;
    QStringList m_shown;
    QStringList m_warnings;
    int m_beeps = 0;
    bool m_failImmediately = true;
};

} // namespace orven::test
