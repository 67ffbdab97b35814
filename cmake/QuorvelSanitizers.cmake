# AddressSanitizer and UndefinedBehaviorSanitizer for the whole tree, when asked for.
if(QUORVEL_SANITIZE)
  set(QUORVEL_SANITIZER_FLAGS -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  add_compile_options(${QUORVEL_SANITIZER_FLAGS})
  add_link_options(${QUORVEL_SANITIZER_FLAGS})
endif()

# Coverage feedback for the fuzzers reaches into the libraries they exercise.
if(QUORVEL_FUZZ)
  add_compile_options(-fsanitize=fuzzer-no-link)
endif()
