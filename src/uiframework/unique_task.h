#pragma once

// A move-only callable without arguments, so that posted work can own what it carries.

#include <concepts>
#include <memory>
#include <type_traits>
#include <utility>

namespace uiframework {

class UniqueTask {
  public:
    UniqueTask() = default;
    template <typename F>
    requires(!std::same_as<std::decay_t<F>, UniqueTask>) UniqueTask(F f)
        : impl_(std::make_unique<Model<F>>(std::move(f))) {}  // NOLINT

    explicit operator bool() const { return impl_ != nullptr; }
    void operator()() { impl_->Call(); }

  private:
    struct Concept {
        virtual ~Concept() = default;
        virtual void Call() = 0;
    };
    template <typename F>
    struct Model : Concept {
        explicit Model(F fn) : f(std::move(fn)) {}
        void Call() override { f(); }
        F f;
    };
    std::unique_ptr<Concept> impl_;
};

}  // namespace uiframework
