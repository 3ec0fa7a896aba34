// hx9ctl-docs: a build tool that writes what is made from hx9ctl's command table beside
// its help: the man page and the bash completion script, each from its template.
//   hx9ctl-docs man|completion TEMPLATE OUTPUT

#include "cli/BashCompletion.h"
#include "cli/ManPage.h"

#include <QCoreApplication>
#include <QFile>
#include <QSaveFile>
#include <QTextStream>

namespace
{

constexpr int EXIT_FAILED = 1;
constexpr int EXIT_USAGE = 2;

int Fail(const QString& message, int status)
{
    QTextStream(stderr) << "hx9ctl-docs: " << message << '\n';
    return status;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    const QString kind = args.value(1);
    if (args.size() != 4 || (kind != QLatin1String("man") && kind != QLatin1String("completion")))
        return Fail(QStringLiteral("usage: hx9ctl-docs man|completion TEMPLATE OUTPUT"),
                    EXIT_USAGE);
    QFile in(args[2]);
    if (!in.open(QIODevice::ReadOnly))
        return Fail(QStringLiteral("cannot read '%1': %2").arg(args[2], in.errorString()),
                    EXIT_FAILED);
    const QString text = QString::fromUtf8(in.readAll());
    QString error;
    const QString made =
        kind == QLatin1String("man") ? ManPage(text, error) : BashCompletion(text, error);
    if (made.isEmpty())
        return Fail(QStringLiteral("%1: %2").arg(args[2], error), EXIT_FAILED);
    QSaveFile out(args[3]);
    const QByteArray bytes = made.toUtf8();
    if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size() || !out.commit())
        return Fail(QStringLiteral("cannot write '%1': %2").arg(args[3], out.errorString()),
                    EXIT_FAILED);
    return 0;
}
