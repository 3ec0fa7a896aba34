#include "app/Application.h"
#include "app/GuiHost.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    TGuiHost host;
    return RunControlPanel(host);
}
