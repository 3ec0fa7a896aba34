#include "panels/UnitMemory.h"

#include "panels/MemoryType.h"
#include "skin/SkinColours.h"

#include <QComboBox>

namespace
{

const QRect COMBO_MEM_TYPE_RECT(100, 11, 250, 20);
const char* const COMBO_MEM_TYPE_STYLE =
    "QComboBox { font-family: Arial; font-size: 12px; color: white; background: rgb(64,64,64); }"
    "QComboBox QAbstractItemView { color: white; background: rgb(64,64,64); }";

} // namespace

TFormMemory::TFormMemory(QWidget* owner, THost& host)
    : TFormPanel(owner, host, QString::fromLatin1(MEMORY_BACKGROUND)),
      ComboBoxMemType(new QComboBox(this))
{
    ComboBoxMemType->setGeometry(COMBO_MEM_TYPE_RECT);
    ComboBoxMemType->setEditable(false);
    ComboBoxMemType->setStyleSheet(QString::fromLatin1(COMBO_MEM_TYPE_STYLE));
    for (int i = 0; i < MEMORY_TYPE_COUNT; ++i)
    {
        const TMemoryType& type = MemoryTypeAt(i);
        ComboBoxMemType->addItem(MemoryTypeCaption(type.Name, type.SizeBytes));
    }
    ComboBoxMemType->setCurrentIndex(0);
    connect(ComboBoxMemType, &QComboBox::activated, this, &TFormMemory::ComboBoxMemTypeSelect);
}

int TFormMemory::SelectedMemoryIndex() const
{
    return ComboBoxMemType->currentIndex();
}

void TFormMemory::ComboBoxMemTypeSelect(int index)
{
    if (OnUpdateTestArea)
    {
        OnUpdateTestArea(this);
    }
    // Choosing the type already chosen keeps whatever the line says.
    if (index != m_LastSelectedIndex)
    {
        ShowInfo(QString(), INFO_GREEN);
        m_LastSelectedIndex = index;
    }
}
