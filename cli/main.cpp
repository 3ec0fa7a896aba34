#include "cli/Hx9Ctl.h"

#include <QCoreApplication>

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    QStringList arguments = QCoreApplication::arguments();
    arguments.removeFirst();
    THx9Ctl ctl;
    return ctl.Run(arguments);
}
