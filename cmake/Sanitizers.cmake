if(TRAZELLE_SANITIZE STREQUAL "address")
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
elseif(TRAZELLE_SANITIZE STREQUAL "thread")
  # -Wno-tsan: the lock-free queue's headers use atomic_thread_fence, which TSan does not model;
  # GCC warns about every use.
  add_compile_options(-fsanitize=thread -fno-omit-frame-pointer -Wno-tsan)
  add_link_options(-fsanitize=thread)
elseif(NOT TRAZELLE_SANITIZE STREQUAL "")
  message(FATAL_ERROR "TRAZELLE_SANITIZE must be address, thread or empty")
endif()
