#include "app/ModAdmin.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Korvane"));
    if (!modAdmin::Main())
        return 1;
    return QApplication::exec();
}
