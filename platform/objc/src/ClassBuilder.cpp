#include <ObjCBridge/ClassBuilder.h>

#include <utility>

namespace objc {

namespace detail {

void addMethodOrDie(Class cls, const char* selector, IMP imp, const std::string& types, bool replace) {
    if (cls == Nil) fatal("adding -%s to a Nil class", selector);
    SEL sel = sel_registerName(selector);
    if (replace) {
        class_replaceMethod(cls, sel, imp, types.c_str());
        return;
    }
    if (!class_addMethod(cls, sel, imp, types.c_str())) {
        fatal("%s already defines %s", class_getName(cls), selector);
    }
}

unsigned char log2Alignment(std::size_t alignment) {
    unsigned char shift = 0;
    while ((std::size_t{1} << shift) < alignment) ++shift;
    return shift;
}

}  // namespace detail

ClassBuilder::ClassBuilder(const char* name, Class superclass) : name_(name) {
    if (superclass == Nil) fatal("class %s: superclass not registered", name);
    if (objc_getClass(name) != Nil) fatal("class %s registered twice", name);
    cls_ = objc_allocateClassPair(superclass, name, 0);
    if (cls_ == Nil) fatal("class %s could not be created", name);
}

ClassBuilder::ClassBuilder(const char* name, const char* superclassName)
    : ClassBuilder(name, objc_getClass(superclassName)) {}

ClassBuilder ClassBuilder::makeRoot(const char* name) {
    if (objc_getClass(name) != Nil) fatal("class %s registered twice", name);
    ClassBuilder b;
    b.name_ = name;
    b.cls_ = objc_allocateClassPair(Nil, name, 0);
    if (b.cls_ == Nil) fatal("root class %s could not be created", name);
    // A root class's first instance variable is the class pointer.
    b.ivar("isa", sizeof(Class), alignof(Class), "#");
    return b;
}

ClassBuilder::ClassBuilder(ClassBuilder&& other) noexcept
    : cls_(std::exchange(other.cls_, Nil)),
      name_(std::move(other.name_)),
      built_(std::exchange(other.built_, true)),
      stateIvar_(std::move(other.stateIvar_)),
      stateConstruct_(other.stateConstruct_),
      stateDestroy_(other.stateDestroy_),
      stateOffset_(other.stateOffset_),
      stateOwner_(other.stateOwner_) {}

ClassBuilder::~ClassBuilder() {
    // A builder dropped without build() leaves no half-made class behind.
    if (!built_ && cls_ != Nil) objc_disposeClassPair(cls_);
}

ClassBuilder& ClassBuilder::ivar(const char* name, std::size_t size, std::size_t alignment, const char* type) {
    if (!class_addIvar(cls_, name, size, detail::log2Alignment(alignment), type)) {
        fatal("class %s: instance variable %s could not be added", name_.c_str(), name);
    }
    return *this;
}

Class ClassBuilder::build() {
    if (built_) fatal("class %s built twice", name_.c_str());
    objc_registerClassPair(cls_);
    built_ = true;
    if (stateConstruct_ != nullptr) {
        Ivar v = class_getInstanceVariable(cls_, stateIvar_.c_str());
        if (v == nullptr) fatal("class %s: state variable missing", name_.c_str());
        *stateOffset_ = ivar_getOffset(v);
        *stateOwner_ = cls_;
        detail::registerState(cls_, *stateOffset_, stateConstruct_, stateDestroy_);
    }
    return cls_;
}

ClassExtender::ClassExtender(Class cls) : cls_(cls) {
    if (cls == Nil) fatal("extending a Nil class");
}

}  // namespace objc
