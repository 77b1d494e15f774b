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
