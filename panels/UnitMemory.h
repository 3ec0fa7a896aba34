#pragma once

#include "panels/FormPanel.h"

class QComboBox;

inline constexpr const char* MEMORY_BACKGROUND = "MEMORY_DLG_BK";

// The memory panel: reads and writes the LPDDR2 memory and the SRAM.
class TFormMemory : public TFormPanel
{
    Q_OBJECT

public:
    /// A hidden panel on owner, drawn on MEMORY_DLG_BK, with the memory type list filled and
    /// its first type selected.
    TFormMemory(QWidget* owner, THost& host);

    /// The type list's selected position: 0 the LPDDR2 memory, 1 the SRAM, -1 none.
    int SelectedMemoryIndex() const;

    /// Fired with the panel after every selection in the type list.
    TNotifyEvent OnUpdateTestArea;

    QComboBox* ComboBoxMemType;

private:
    void ComboBoxMemTypeSelect(int index);

    int m_LastSelectedIndex = 0;
};
