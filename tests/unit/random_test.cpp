#include <gtest/gtest.h>

#include <algorithm>
#include <thread>
#include <vector>

#include "plugin/random.h"
#include "test_plugin.h"

namespace {

TEST(Random, ValuesLieInHalfOpenUnitInterval) {
    random_source::seed(0);
    double sum = 0.0;
    constexpr int kDraws = 100000;
    for (int i = 0; i < kDraws; ++i) {
        const double r = random_source::next();
        ASSERT_GE(r, 0.0);
        ASSERT_LT(r, 1.0);
        sum += r;
    }
    EXPECT_NEAR(sum / kDraws, 0.5, 0.01);
}

TEST(Random, SeedRepeatsTheSequence) {
    random_source::seed(42);
    const double a = random_source::next(), b = random_source::next();
    random_source::seed(42);
    EXPECT_EQ(random_source::next(), a);
    EXPECT_EQ(random_source::next(), b);
    EXPECT_NE(a, b);
}

// Every instance creation reseeds the one generator all instances share.
TEST(Random, InstanceCreationReseeds) {
    random_source::seed(42);
    const double first = random_source::next();
    random_source::seed(42);
    TestPlugin plugin;
    EXPECT_NE(random_source::next(), first);
}

// Concurrent draws each take their own step: none is lost or repeated.
TEST(Random, ConcurrentDrawsNeverRepeatAStep) {
    random_source::seed(7);
    constexpr int kThreads = 4, kDraws = 20000;
    std::vector<std::vector<double>> drawn(kThreads);
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t)
        threads.emplace_back([&drawn, t] {
            for (int i = 0; i < kDraws; ++i) drawn[static_cast<std::size_t>(t)].push_back(random_source::next());
        });
    for (auto& thread : threads) thread.join();

    std::vector<double> all;
    for (const auto& values : drawn) all.insert(all.end(), values.begin(), values.end());
    random_source::seed(7);
    std::vector<double> sequential;
    for (std::size_t i = 0; i < all.size(); ++i) sequential.push_back(random_source::next());
    std::sort(all.begin(), all.end());
    std::sort(sequential.begin(), sequential.end());
    EXPECT_EQ(all, sequential);
}

}  // namespace
