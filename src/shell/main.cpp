// The QAVO console.
#include <QApplication>
#include <cstdlib>

#include "shell/qavo_app.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    qavo::CQavoApp console;
    if (!console.Start()) return 1;
    return app.exec();
}
