#pragma once

#include <QString>
#include <QTemporaryDir>

// A program folder for one test, holding links to what the build made (the JTAG and download
// libraries, the FPGA image) or stand-ins, so each test chooses what the program finds.
class TProgramFolder
{
public:
    TProgramFolder();

    /// Links name to the build's program folder file of the same name; false when that fails.
    bool Link(const QString& name);
    /// Writes a file of its own under name.
    bool Write(const QString& name, const QByteArray& content);
    /// The folder with a trailing '/', as the host reports it.
    QString Path() const;

private:
    QTemporaryDir m_Dir;
};

// Points QUARTUS_ROOTDIR at a root for the life of the object, then puts the old value back.
class TQuartusRoot
{
public:
    explicit TQuartusRoot(const QString& root);
    ~TQuartusRoot();
    TQuartusRoot(const TQuartusRoot&) = delete;
    TQuartusRoot& operator=(const TQuartusRoot&) = delete;

private:
    QByteArray m_Saved;
    bool m_bWasSet;
};

inline const QString JTAG_LIBRARY = QStringLiteral("KELVARO_JTAG.so");
inline const QString DOWNLOAD_LIBRARY = QStringLiteral("KELVARO_DOWNLOAD.so");
inline const QString IMAGE_FILE = QStringLiteral("HX9_ControlPanel.sof");
