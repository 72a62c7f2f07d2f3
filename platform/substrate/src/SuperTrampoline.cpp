// Forwarders to the superclass. The forwarding itself is two pieces of x86-64
// assembly below, one for ordinary methods and one for methods returning a
// struct through a hidden pointer. Each forwarder handed out is a small stub
// of a fixed pool: it loads the address of its record (the hooked class and
// the piece to run) into r10, which no argument uses, and jumps to the piece.
// The piece saves every argument register (the vector ones too, and al, which
// counts them for variadic methods), asks the runtime for the superclass's
// current implementation, restores the registers and jumps there, so the
// stack arguments and the return address stay the caller's. A fixed pool of
// stubs built by the assembler avoids writing machine code at run time.
#include "SuperTrampoline.h"

#include <objc/message.h>

#include <cstdio>
#include <cstdlib>
#include <mutex>

#if !defined(__x86_64__)
#error "the superclass forwarders are written for x86-64"
#endif

namespace {

constexpr int kStubCount = 1024;
constexpr int kStubSize = 16;

struct Record {
    Class cls;
    void* entry;
};

}  // namespace

extern "C" {

// Used by the assembly only.
__attribute__((visibility("hidden"))) Record hb_substrate_records[kStubCount];

__attribute__((visibility("hidden"))) IMP hb_substrate_lookup_super(id self, SEL selector, Class cls) {
    objc_super super{self, class_getSuperclass(cls)};
    return objc_msg_lookup_super(&super, selector);
}

void hb_substrate_forward_super();
void hb_substrate_forward_super_in_memory();
extern const char hb_substrate_stubs[];
extern const char hb_substrate_stubs_end[];

}  // extern "C"

// clang-format off
asm(R"(
    .text

    .macro HB_FORWARD_SUPER name, inMemory
    .p2align 4
    .type \name, @function
\name:
    pushq   %rbp
    movq    %rsp, %rbp
    subq    $0xd0, %rsp
    movq    %rdi, 0x00(%rsp)
    movq    %rsi, 0x08(%rsp)
    movq    %rdx, 0x10(%rsp)
    movq    %rcx, 0x18(%rsp)
    movq    %r8,  0x20(%rsp)
    movq    %r9,  0x28(%rsp)
    movq    %rax, 0x30(%rsp)
    movdqu  %xmm0, 0x40(%rsp)
    movdqu  %xmm1, 0x50(%rsp)
    movdqu  %xmm2, 0x60(%rsp)
    movdqu  %xmm3, 0x70(%rsp)
    movdqu  %xmm4, 0x80(%rsp)
    movdqu  %xmm5, 0x90(%rsp)
    movdqu  %xmm6, 0xa0(%rsp)
    movdqu  %xmm7, 0xb0(%rsp)
    .if \inMemory
    movq    %rsi, %rdi
    movq    %rdx, %rsi
    .endif
    movq    (%r10), %rdx
    call    hb_substrate_lookup_super@PLT
    movq    %rax, %r11
    movdqu  0xb0(%rsp), %xmm7
    movdqu  0xa0(%rsp), %xmm6
    movdqu  0x90(%rsp), %xmm5
    movdqu  0x80(%rsp), %xmm4
    movdqu  0x70(%rsp), %xmm3
    movdqu  0x60(%rsp), %xmm2
    movdqu  0x50(%rsp), %xmm1
    movdqu  0x40(%rsp), %xmm0
    movq    0x30(%rsp), %rax
    movq    0x28(%rsp), %r9
    movq    0x20(%rsp), %r8
    movq    0x18(%rsp), %rcx
    movq    0x10(%rsp), %rdx
    movq    0x08(%rsp), %rsi
    movq    0x00(%rsp), %rdi
    leave
    jmp     *%r11
    .size \name, .-\name
    .endm

    HB_FORWARD_SUPER hb_substrate_forward_super, 0
    HB_FORWARD_SUPER hb_substrate_forward_super_in_memory, 1

    .p2align 4
hb_substrate_stubs:
    .set    hb_stub_index, 0
    .rept   1024
    .p2align 4
    leaq    hb_substrate_records+16*hb_stub_index(%rip), %r10
    jmpq    *8(%r10)
    .set    hb_stub_index, hb_stub_index+1
    .endr
    .p2align 4
hb_substrate_stubs_end:
)");
// clang-format on

namespace substrate::detail {

IMP superForwarder(Class cls, bool resultInMemory) {
    static std::mutex lock;
    static int used = 0;
    std::lock_guard guard(lock);
    if (hb_substrate_stubs_end - hb_substrate_stubs != kStubCount * kStubSize) {
        std::fprintf(stderr, "substrate: forwarder stubs are not laid out as expected\n");
        std::abort();
    }
    if (used == kStubCount) {
        std::fprintf(stderr, "substrate: more than %d hooks of inherited methods\n", kStubCount);
        std::abort();
    }
    int index = used++;
    hb_substrate_records[index].cls = cls;
    hb_substrate_records[index].entry =
        reinterpret_cast<void*>(resultInMemory ? &hb_substrate_forward_super_in_memory : &hb_substrate_forward_super);
    return reinterpret_cast<IMP>(const_cast<char*>(hb_substrate_stubs + index * kStubSize));
}

bool returnsInMemory(const char* types) {
    if (types == nullptr) return false;
    const char* result = objc_skip_type_qualifiers(types);
    if (*result != '{' && *result != '(') return false;
    return objc_sizeof_type(result) > 16;
}

}  // namespace substrate::detail
