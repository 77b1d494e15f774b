#include "support/scripted_dialogs.h"

#include <QTest>

namespace orven::test {

ScriptedDialogs::ScriptedDialogs() {
    setDialogs(this);
}

ScriptedDialogs::~ScriptedDialogs() {
    if (&dialogs() == this)
        setDialogs(nullptr);
}

void ScriptedDialogs::expectInput(const QString& prompt, const QString& title, int xTwips,
                                  int yTwips, const QString& answer,
                                  std::function<void()> onShown) {
    Step step;
    step.isInput = true;
    step.prompt = prompt;
    step.title = title;
    step.x = xTwips;
    step.y = yTwips;
    step.answer = answer;
    step.onShown = std::move(onShown);
    m_steps.append(step);
}

void ScriptedDialogs::expectCancelledInput(const QString& prompt, const QString& title, int xTwips,
                                           int yTwips) {
    expectInput(prompt, title, xTwips, yTwips, QString());
    m_steps.last().cancelled = true;
}

void ScriptedDialogs::expectYesNo(const QString& title, const QString& text, bool answer,
                                  std::function<void()> onShown) {
    Step step;
    step.isInput = false;
    step.prompt = text;
    step.title = title;
    step.yes = answer;
    step.onShown = std::move(onShown);
    m_steps.append(step);
}

void ScriptedDialogs::fail(const QString& message) {
    m_failures.append(message);
    if (m_failImmediately)
        QTest::qFail(qPrintable(message), __FILE__, __LINE__);
}

QString ScriptedDialogs::inputBox(const QString& prompt, const QString& title, int xTwips,
                                  int yTwips) {
    return correctionBox(prompt, title, xTwips, yTwips).value_or(QString());
}

std::optional<QString> ScriptedDialogs::correctionBox(const QString& prompt, const QString& title,
                                                      int xTwips, int yTwips) {
    m_shown.append(title);
    const QString shown = QStringLiteral("input box \"%1\" / \"%2\" at (%3, %4)")
                              .arg(title, prompt)
                              .arg(xTwips)
                              .arg(yTwips);
    if (m_steps.isEmpty()) {
        fail(QStringLiteral("unexpected ") + shown);
        return std::nullopt;
    }
    if (!m_steps.first().isInput) {
        fail(
            QStringLiteral("expected the message box \"%1\", got the ").arg(m_steps.first().title) +
            shown);
        return std::nullopt;
    }
    const Step step = m_steps.takeFirst();
    if (step.prompt != prompt || step.title != title || step.x != xTwips || step.y != yTwips) {
        fail(QStringLiteral("expected input box \"%1\" / \"%2\" at (%3, %4), got the ")
                 .arg(step.title, step.prompt)
                 .arg(step.x)
                 .arg(step.y) +
             shown);
    }
    if (step.onShown)
        step.onShown();
    if (step.cancelled)
        return std::nullopt;
    return step.answer;
}

bool ScriptedDialogs::askYesNo(const QString& title, const QString& text) {
    m_shown.append(title);
    const QString shown = QStringLiteral("message box \"%1\" / \"%2\"").arg(title, text);
    if (m_steps.isEmpty()) {
        fail(QStringLiteral("unexpected ") + shown);
        return false;
    }
    if (m_steps.first().isInput) {
        fail(QStringLiteral("expected the input box \"%1\", got the ").arg(m_steps.first().title) +
             shown);
        return false;
    }
    const Step step = m_steps.takeFirst();
    if (step.title != title || step.prompt != text) {
        fail(QStringLiteral("expected message box \"%1\" / \"%2\", got the ")
                 .arg(step.title, step.prompt) +
             shown);
    }
    if (step.onShown)
        step.onShown();
    return step.yes;
}

bool ScriptedDialogs::verifyDone() {
    if (!m_steps.isEmpty()) {
        fail(QStringLiteral("%1 scripted dialog(s) never shown, the first: \"%2\"")
                 .arg(m_steps.size())
                 .arg(m_steps.first().title));
        m_steps.clear();
    }
    return m_failures.isEmpty();
}

void ScriptedDialogs::clear() {
    m_steps.clear();
    m_failures.clear();
    m_shown.clear();
    m_warnings.clear();
    m_informations.clear();
    m_beeps = 0;
}

} // namespace orven::test
