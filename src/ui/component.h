#pragma once
// Named, non-copyable base of every control and of the window itself.
#include <string>
#include <utility>

class TComponent {
public:
    explicit TComponent(std::string name) : name_(std::move(name)) {}
    TComponent(const TComponent&) = delete;
    TComponent& operator=(const TComponent&) = delete;
    virtual ~TComponent() = default;

    const std::string& Name() const { return name_; }

private:
    std::string name_;
};
