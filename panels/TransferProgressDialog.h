#pragma once

#include "transfer/MemoryTransfer.h"

#include <memory>

class QWidget;
class TFormProgress;

// A transfer's progress in the progress dialog: shown, above the other windows, for as long
// as this object lives. Between chunks it lets pending window events run, which is where a
// click on Abort is seen.
class TTransferProgressDialog : public TTransferProgress
{
public:
    /// Creates the dialog with owner and shows it, modeless.
    explicit TTransferProgressDialog(QWidget* owner);
    /// Destroys the dialog.
    ~TTransferProgressDialog() override;
    TTransferProgressDialog(const TTransferProgressDialog&) = delete;
    TTransferProgressDialog& operator=(const TTransferProgressDialog&) = delete;

    void SetStatusText(const QString& text) override;
    void SetPercent(int percent) override;
    void ProcessEvents() override;
    bool IsAborted() override;

    /// The dialog, for tests and the owner's look.
    TFormProgress& Dialog() const { return *m_pDialog; }

private:
    std::unique_ptr<TFormProgress> m_pDialog;
};
