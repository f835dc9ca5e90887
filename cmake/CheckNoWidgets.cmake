# cmake -DWIDGETS_DIR=<QtWidgets include folder> -DOTHER_DIRS=<QtCore and QtGui folders>
#       -DSOURCES=<a;b;c> [-DSTAMP=<file>] -P CheckNoWidgets.cmake
# Fails when one of SOURCES includes a Qt Widgets header in any spelling: <QDialog>,
# <qdialog.h>, <QtWidgets/QDialog>, <QtWidgets>, with quotes or angle brackets.
cmake_minimum_required(VERSION 3.25)

file(GLOB widget_headers RELATIVE "${WIDGETS_DIR}" "${WIDGETS_DIR}/*")
# Names the other modules also have (qaction.h forwards to QtGui) are not Widgets headers.
foreach(dir IN LISTS OTHER_DIRS)
    file(GLOB other RELATIVE "${dir}" "${dir}/*")
    list(REMOVE_ITEM widget_headers ${other})
endforeach()
set(names QtWidgets ${widget_headers})
set(found "")
foreach(source IN LISTS SOURCES)
    file(STRINGS "${source}" includes REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"]")
    foreach(line IN LISTS includes)
        string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*[<\"]([^>\"]*)[>\"].*$" "\\1" header "${line}")
        string(REGEX REPLACE "^QtWidgets/" "" name "${header}")
        if(header MATCHES "^QtWidgets(/|$)" OR name IN_LIST names)
            list(APPEND found "${source}: ${header}")
        endif()
    endforeach()
endforeach()
if(found)
    list(JOIN found "\n  " text)
    message(FATAL_ERROR "The core library includes Qt Widgets headers:\n  ${text}")
endif()
if(STAMP)
    file(TOUCH "${STAMP}")
endif()
