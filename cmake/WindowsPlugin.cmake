# Makes the plug-in module target the Windows plug-in: Corvanthe.8bf, exporting only
# PluginMain by its plain name (the .def file; on x86 the C name carries no decoration
# there), carrying its resources, and linked statically so that it needs nothing but
# system DLLs beside itself.
function(corvanthe_windows_plugin target)
  set_target_properties(${target} PROPERTIES PREFIX "" OUTPUT_NAME Corvanthe SUFFIX ".8bf"
                                             RUNTIME_OUTPUT_DIRECTORY "${CMAKE_BINARY_DIR}")
  target_sources(${target} PRIVATE "${PROJECT_SOURCE_DIR}/resources/win32/corvanthe.def")
  target_link_libraries(${target} PRIVATE corvanthe_win32_resources)
  target_link_options(${target} PRIVATE -static -static-libgcc -static-libstdc++ $<$<CONFIG:Release>:-s>)
endfunction()
