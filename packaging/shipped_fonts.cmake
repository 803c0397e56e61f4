# The faces the program draws with (src/kit/shipped_fonts.cpp lists the same files), copied
# unchanged from the Debian font packages into the build tree, where the program, the tests and
# the tools find them, and installed with the program. Their licences are in packaging/copyright.
set(shipped_font_sources
  /usr/share/fonts/truetype/noto/NotoSansArabic-Regular.ttf
  /usr/share/fonts/truetype/noto/NotoSansArabic-Bold.ttf
  /usr/share/fonts/truetype/dejavu/DejaVuSans.ttf
  /usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf
  /usr/share/fonts/truetype/farsiweb/nazli.ttf
  /usr/share/fonts/truetype/farsiweb/nazlib.ttf
  /usr/share/fonts/truetype/farsiweb/titr.ttf
  /usr/share/fonts/truetype/noto/NotoNaskhArabic-Regular.ttf
  /usr/share/fonts/truetype/noto/NotoNaskhArabic-Bold.ttf
  /usr/share/fonts/truetype/noto/NotoSans-Regular.ttf
  /usr/share/fonts/truetype/noto/NotoSans-Bold.ttf
  /usr/share/fonts/truetype/liberation2/LiberationSans-Regular.ttf
  /usr/share/fonts/truetype/liberation2/LiberationSans-Bold.ttf
  /usr/share/fonts/truetype/noto/NotoSerif-Bold.ttf
)
set(TAVORA71_BUILD_FONTS ${CMAKE_BINARY_DIR}/fonts)
set(shipped_fonts)
foreach(source ${shipped_font_sources})
  if(NOT EXISTS ${source})
    message(FATAL_ERROR "${source} is missing: scripts/setup.sh installs the font packages")
  endif()
  get_filename_component(name ${source} NAME)
  configure_file(${source} ${TAVORA71_BUILD_FONTS}/${name} COPYONLY)
  list(APPEND shipped_fonts ${TAVORA71_BUILD_FONTS}/${name})
endforeach()
install(FILES ${shipped_fonts} DESTINATION share/tavora71/fonts)
