# The system's texts are code page 936 bytes: UTF-8 sources, CP936 narrow literals.
function(tovanix_use_cp936 target)
  if(MSVC)
    target_compile_options(${target} INTERFACE /source-charset:utf-8 /execution-charset:.936)
  else()
    target_compile_options(${target} INTERFACE -finput-charset=UTF-8 -fexec-charset=CP936)
  endif()
endfunction()
