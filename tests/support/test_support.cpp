#include "support/test_support.h"
#include "app/program_start.h"

#include "core/design_case.h"
#include "platform/program_end.h"
#include "platform/screens.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QLocale>
#include <QMimeData>
#include <QtGlobal>
#include <QtTest>

namespace orven::test {

QString sourceDir() {
    const QString fromRun = qEnvironmentVariable("ORVEN_SOURCE_DIR");
    return fromRun.isEmpty() ? QStringLiteral(ORVEN_SOURCE_DIR) : fromRun;
}

} // namespace orven::test

namespace orven::test {

void startFreshRun() {
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
    resetDesignCase();
    clearScreens();
    resetProgramEnd();
    wireScreenSteps();
}

void clearScreens() {
    unloadAllScreens();
    deleteUnloadedScreens();
}

} // namespace orven::test

namespace orven::test {

void dropFile(QWidget* widget, const QString& path) {
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(path)});
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent event(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &event);
}

} // namespace orven::test

namespace orven::test {

QByteArray windows1251(const QString& text) {
    QByteArray bytes;
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u < 0x80) {
            bytes += static_cast<char>(u);
        } else if (u >= 0x0410 && u <= 0x044F) {
            bytes += static_cast<char>(0xC0 + (u - 0x0410));
        } else if (u == 0x0401 || u == 0x0451 || u == 0x00AB || u == 0x00BB || u == 0x2116) {
            bytes += static_cast<char>(u == 0x0401   ? 0xA8
                                       : u == 0x0451 ? 0xB8
                                       : u == 0x00AB ? 0xAB
                                       : u == 0x00BB ? 0xBB
                                                     : 0xB9);
        } else {
            bytes += '?';
        }
    }
    return bytes;
}

} // namespace orven::test
