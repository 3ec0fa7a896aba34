#include "app/Application.h"
#include "app/GuiHost.h"

int main(int argc, char** argv)
{
    TApplication application(argc, argv);
    TGuiHost host;
    application.SetHost(&host);
    const int status = RunControlPanel(host);
    application.SetHost(nullptr);
    return status;
}
