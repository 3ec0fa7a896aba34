# Window-free memory transfer engine and peripheral texts: shared by the panels and hx9ctl.
add_library(hx9_panel_engine STATIC
  ${CMAKE_CURRENT_LIST_DIR}/MemoryType.h ${CMAKE_CURRENT_LIST_DIR}/MemoryType.cpp
  ${CMAKE_CURRENT_LIST_DIR}/FileKind.h ${CMAKE_CURRENT_LIST_DIR}/FileKind.cpp
  ${CMAKE_CURRENT_LIST_DIR}/HexField.h ${CMAKE_CURRENT_LIST_DIR}/HexField.cpp
  ${CMAKE_CURRENT_LIST_DIR}/HexText.h ${CMAKE_CURRENT_LIST_DIR}/HexText.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MemoryLink.h
  ${CMAKE_CURRENT_LIST_DIR}/MemoryTransfer.h ${CMAKE_CURRENT_LIST_DIR}/MemoryTransfer.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MemoryFileSource.h ${CMAKE_CURRENT_LIST_DIR}/MemoryFileSource.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MemoryFileSink.h ${CMAKE_CURRENT_LIST_DIR}/MemoryFileSink.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MemoryFileTransfer.h ${CMAKE_CURRENT_LIST_DIR}/MemoryFileTransfer.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MemorySequence.h ${CMAKE_CURRENT_LIST_DIR}/MemorySequence.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MemoryCheck.h ${CMAKE_CURRENT_LIST_DIR}/MemoryCheck.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MemoryText.h ${CMAKE_CURRENT_LIST_DIR}/MemoryText.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SDCardText.h ${CMAKE_CURRENT_LIST_DIR}/SDCardText.cpp
  ${CMAKE_CURRENT_LIST_DIR}/AdcReadout.h ${CMAKE_CURRENT_LIST_DIR}/AdcReadout.cpp
  ${CMAKE_CURRENT_LIST_DIR}/HsmcReport.h ${CMAKE_CURRENT_LIST_DIR}/HsmcReport.cpp
  ${CMAKE_CURRENT_LIST_DIR}/HdmiPattern.h ${CMAKE_CURRENT_LIST_DIR}/HdmiPattern.cpp
  ${CMAKE_CURRENT_LIST_DIR}/BoardMemoryLink.h ${CMAKE_CURRENT_LIST_DIR}/BoardMemoryLink.cpp
)
hx9_expose(hx9_panel_engine PUBLIC panels)
# The board adapter needs the board library; everything else uses only its header constants.
target_link_libraries(hx9_panel_engine PUBLIC hx9_board Qt6::Core)
