# The include folders the core's Qt Widgets check needs: `widgets_var` gets the QtWidgets
# folder, `others_var` the QtCore and QtGui folders (whose headers may share a name with a
# Widgets forwarding header, QAction for one).
function(tervix_qt_include_dirs widgets_var others_var)
    get_target_property(widgets Qt6::Widgets INTERFACE_INCLUDE_DIRECTORIES)
    list(FILTER widgets INCLUDE REGEX "/QtWidgets$")
    get_target_property(core Qt6::Core INTERFACE_INCLUDE_DIRECTORIES)
    get_target_property(gui Qt6::Gui INTERFACE_INCLUDE_DIRECTORIES)
    set(others ${core} ${gui})
    list(FILTER others INCLUDE REGEX "/Qt(Core|Gui)$")
    list(REMOVE_DUPLICATES others)
    set(${widgets_var} ${widgets} PARENT_SCOPE)
    set(${others_var} ${others} PARENT_SCOPE)
endfunction()
