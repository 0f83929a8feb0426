# Widget utilities: window placement, list views, the windowed message boxes
# and file dialogs, the modal-window seam.
add_library(vamor_ui STATIC
  widgets/ChildWindow.cpp widgets/ChildWindow.h
  widgets/FormTools.cpp widgets/FormTools.h
  widgets/GuiPrompts.cpp widgets/GuiPrompts.h
  widgets/ListViewTools.cpp widgets/ListViewTools.h
  widgets/ModalDialog.cpp widgets/ModalDialog.h
  widgets/WaitDialog.cpp widgets/WaitDialog.h
)
target_link_libraries(vamor_ui PUBLIC Qt6::Widgets Qt6::Svg vamor_core)
