# A test that fails with the message it is given: cmake -Dmessage=... -P fail.cmake
message(FATAL_ERROR "${message}")
