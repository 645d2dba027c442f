# A folder that the table does not name.
set(QAVO_LAYERS core ui_base ui_views ui_shell)
set(QAVO_QT_FREE_LAYERS core)
set(QAVO_LAYER_core logic/)
