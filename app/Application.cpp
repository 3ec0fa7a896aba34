#include "app/Application.h"

#include "app/SingleInstance.h"
#include "app/UnitMain.h"
#include "host/Host.h"

#include <QApplication>
#include <QFont>

void InstallFontSubstitutes()
{
    // fontconfig already maps Arial and Times New Roman onto their metric twins; say it again
    // for platforms without it, and give the old bitmap face a plain sans one.
    QFont::insertSubstitutions(QStringLiteral("Arial"),
                               {QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")});
    QFont::insertSubstitutions(QStringLiteral("Times New Roman"),
                               {QStringLiteral("Liberation Serif"), QStringLiteral("DejaVu Serif")});
    QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"),
                               {QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")});
}

int RunControlPanel(THost& host)
{
    TSingleInstance instance;
    if (!instance.Acquire())
    {
        host.ShowMessage(THost::mkInformation, QString::fromLatin1(ALREADY_RUNNING_TEXT));
        return 0;
    }
    InstallFontSubstitutes();
    TFormMain form(host);
    form.show();
    QApplication::exec();
    return 0;
}
