int zarnik_gui_placeholder = 0;
