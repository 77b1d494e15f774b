#include "platform/program_end.h"
#include "platform/screen.h"
#include "platform/screens.h"
#include "platform/translations.h"

#include <QApplication>

namespace {
// Stands in for the main menu until it exists.
class StartScreen : public orven::Screen {
public:
    void load() override {
        setCaption(QStringLiteral("НАЧАЛО РАБОТЫ С ПРОГРАММОЙ"));
        moveTwips(500, 500);
        resizeTwips(12000, 8955);
    }
};
} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    // The program ends only through endProgram(): hiding one screen before
    // showing the next must not end it.
    QApplication::setQuitOnLastWindowClosed(false);
    orven::installRussianTranslations(app);
    orven::installProgramEndHandlers(app);

    orven::screen<StartScreen>().show();

    if (orven::programEnded())
        return 0;
    return QApplication::exec();
}
