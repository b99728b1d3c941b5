#pragma once

#include <QObject>
#include <functional>
#include <map>
#include <memory>
#include <string>

// Each GUI test file registers its test class under the file's name, so one program
// holds every class and ctest runs them one by one.
class GuiTestRegistry {
public:
    using Factory = std::function<std::unique_ptr<QObject>()>;

    static std::map<std::string, Factory>& Entries();
};

template <typename TestClass>
struct GuiTestRegistration {
    explicit GuiTestRegistration(const std::string& name) {
        GuiTestRegistry::Entries()[name] = [] { return std::make_unique<TestClass>(); };
    }
};
