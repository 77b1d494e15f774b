#include "core/main_menu_screen.h"
#include "platform/program_end.h"
#include "platform/screens.h"
#include "platform/translations.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    // The program ends only through endProgram(): hiding one screen before
    // showing the next must not end it.
    QApplication::setQuitOnLastWindowClosed(false);
    orven::installRussianTranslations(app);
    orven::installProgramEndHandlers(app);

    orven::screen<orven::Form1>().show();

    if (orven::programEnded())
        return 0;
    return QApplication::exec();
}
