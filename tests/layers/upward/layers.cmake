# A views layer and a shell layer that include each other.
set(QAVO_LAYERS core ui_base ui_views ui_shell)
set(QAVO_QT_FREE_LAYERS core)
set(QAVO_LAYER_core logic/)
set(QAVO_LAYER_ui_base "")
set(QAVO_LAYER_ui_views views/)
set(QAVO_LAYER_ui_shell shell/)
