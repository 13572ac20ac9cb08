// Keeps parts of the C++ runtime that the installer never uses out of the program file.
//
// The default terminate handler prints the name of an uncaught exception's type, and with it
// links the whole symbol demangler (some 45 KB). An uncaught exception can only come from
// running out of memory here, where a plain end of the program says as much.
#include <cstddef>
#include <cstdlib>

namespace __gnu_cxx {
void __verbose_terminate_handler() { std::abort(); }
}  // namespace __gnu_cxx

// The library's error paths for impossible sizes and positions (and for running out of
// memory) throw exceptions whose messages are built with the reference-counted string and a
// printf of their own (some 60 KB). Nothing in the program catches them, so the end is the
// same: the program stops.
namespace std {
void __throw_bad_alloc() { std::abort(); }
void __throw_bad_array_new_length() { std::abort(); }
void __throw_length_error(const char*) { std::abort(); }
void __throw_logic_error(const char*) { std::abort(); }
void __throw_out_of_range(const char*) { std::abort(); }
void __throw_out_of_range_fmt(const char*, ...) { std::abort(); }
void __throw_invalid_argument(const char*) { std::abort(); }
void __throw_bad_function_call() { std::abort(); }
}  // namespace std

// The library's operator new throws std::bad_alloc, which links the exception unwinder (some
// 25 KB). These end the program at once instead, which is what the uncaught exception did.
void* operator new(std::size_t size) {
  void* memory = std::malloc(size == 0 ? 1 : size);
  if (memory == nullptr) std::abort();
  return memory;
}
void* operator new[](std::size_t size) { return operator new(size); }
void operator delete(void* memory) noexcept { std::free(memory); }
void operator delete[](void* memory) noexcept { std::free(memory); }
void operator delete(void* memory, std::size_t) noexcept { std::free(memory); }
void operator delete[](void* memory, std::size_t) noexcept { std::free(memory); }
