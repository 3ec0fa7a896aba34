#include "panels/TransferProgressDialog.h"

#include "panels/UnitProgress.h"

#include <QCoreApplication>

TTransferProgressDialog::TTransferProgressDialog(QWidget* owner)
    : m_pDialog(std::make_unique<TFormProgress>(owner))
{
    m_pDialog->show();
}

TTransferProgressDialog::~TTransferProgressDialog() = default;

void TTransferProgressDialog::SetStatusText(const QString& text)
{
    m_pDialog->SetStatusText(text);
}

void TTransferProgressDialog::SetPercent(int percent)
{
    m_pDialog->SetPercent(percent);
}

void TTransferProgressDialog::ProcessEvents()
{
    QCoreApplication::processEvents();
}

bool TTransferProgressDialog::IsAborted()
{
    return m_pDialog->IsAborted();
}
