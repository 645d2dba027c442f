# The layers of the console, bottom to top. The code of a layer includes the
# headers of its own layer and of the layers below it, never of one above.
# Each layer is the static library qavo_<layer>, which links only the layers
# below it. cmake/check_layers.cmake holds every file to this table.
set(QAVO_LAYERS core ui_base ui_views ui_shell)

# Layers that link no Qt: their files include no <Q...> header.
set(QAVO_QT_FREE_LAYERS core)

# What belongs to each layer: a folder of src/ (ending in "/"), or a unit: a
# path under src/ without its extension, which stands for the header and its
# source. A unit named here wins over its folder.

# The link to the host, the model, persistence and the decisions of every
# window, without Qt.
set(QAVO_LAYER_core
  platform/
  model/
  link/
  persistence/
  console/control_logic
  console/state_logic
  console/log_events
  maintenance/sys_timing_logic
  maintenance/net_card_logic
  maintenance/fw_dn_logic
  shell/shell_logic
  users/account_store
  users/account_grid
  users/user_access
  users/command_availability
  users/credentials_prompt
  users/user_session
  editors/send_edited_blocks
  editors/zone_sel_logic
  editors/sp_impedance_logic
  editors/dev_param_cfg_logic
  editors/paging_adr_cfg_logic
)

# What every window uses: the skinned controls, the looks of lists and
# dialogs, the interface of a view and what the shell hands to it, and the
# Qt glue (the GUI thread's dispatch and waits, message boxes, the UI bus,
# the progress dialog).
set(QAVO_LAYER_ui_base
  widgets/
  console/report_list
  users/user_dialog_look
  shell/console_view
  shell/console_services
  shell/gui_dispatch
  shell/gui_wait
  shell/qt_prompter
  shell/qt_ui_bus
  shell/looks
  shell/msg_info
)

# The views and dialogs.
set(QAVO_LAYER_ui_views
  console/
  users/
  maintenance/
  editors/
)

# The shell: application, main window, navigation pane, picture views.
set(QAVO_LAYER_ui_shell
  shell/
)
