# The game's pictures. They are drawn by tools/make-pictures and committed in
# assets/; `cmake --build <dir> --target pictures` draws them afresh. Every
# build copies them beside the program, into bin/Picture.
set(YUUNAGI_PICTURE_SOURCE_DIR ${CMAKE_SOURCE_DIR}/assets/Picture)
set(YUUNAGI_ICON_SOURCE_DIR ${CMAKE_SOURCE_DIR}/assets/icons)
set(YUUNAGI_PICTURE_DIR ${YUUNAGI_BIN_DIR}/Picture)

# One copy rule per file, so a changed picture is copied again on the next
# build; a picture added to assets/Picture is found without re-running cmake.
file(GLOB YUUNAGI_PICTURE_FILES LIST_DIRECTORIES false CONFIGURE_DEPENDS ${YUUNAGI_PICTURE_SOURCE_DIR}/*)
foreach(_name ユウナギ町.gif Etc.bmp No0.bmp No1.bmp No2.bmp No3.bmp No4.bmp No5.bmp)
  if(NOT ${YUUNAGI_PICTURE_SOURCE_DIR}/${_name} IN_LIST YUUNAGI_PICTURE_FILES)
    message(FATAL_ERROR "The game cannot start without assets/Picture/${_name}")
  endif()
endforeach()
set(_yuunagi_picture_copies)
foreach(_source ${YUUNAGI_PICTURE_FILES})
  get_filename_component(_name ${_source} NAME)
  set(_copy ${YUUNAGI_PICTURE_DIR}/${_name})
  add_custom_command(OUTPUT ${_copy}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${YUUNAGI_PICTURE_DIR}
    COMMAND ${CMAKE_COMMAND} -E copy ${_source} ${_copy}
    DEPENDS ${_source}
    COMMENT "Copying picture ${_name}"
    VERBATIM)
  list(APPEND _yuunagi_picture_copies ${_copy})
endforeach()
add_custom_target(picture_files ALL DEPENDS ${_yuunagi_picture_copies})

# Not part of ALL: the committed pictures change only when someone means it.
# The drawing program needs giflib, so it is built with the tests or on
# request (-DYUUNAGI_PICTURE_TOOL=ON); other builds use the committed pictures.
if(YUUNAGI_BUILD_PICTURE_TOOL)
  add_custom_target(pictures
    COMMAND make-pictures --icons ${YUUNAGI_ICON_SOURCE_DIR} ${YUUNAGI_PICTURE_SOURCE_DIR}
    DEPENDS make-pictures
    COMMENT "Drawing the game's pictures into assets/"
    VERBATIM)
endif()
