#pragma once
// Several QObject test classes form one test program: each file registers its class with
// TAVORA_TEST(Class), and the shared main runs them all (or those named with -class Name).
#include <QObject>
#include <functional>
#include <memory>
#include <vector>

namespace testing_support {

struct RegisteredTest {
    const char* name;
    std::function<std::unique_ptr<QObject>()> make;
};

std::vector<RegisteredTest>& registeredTests();

inline bool registerTest(const char* name, std::function<std::unique_ptr<QObject>()> make)
{
    registeredTests().push_back({name, std::move(make)});
    return true;
}

} // namespace testing_support

#define TAVORA_TEST(Class)                                                                          \
    static const bool tavora_registered_##Class =                                                  \
        ::testing_support::registerTest(#Class, [] { return std::unique_ptr<QObject>(new Class); });
