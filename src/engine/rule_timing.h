#pragma once
// Time spent in the rule checks, measured only while a benchmark switches it on (otherwise one
// test of a flag per check). Nested checks count once, in the outermost.
#include <QtGlobal>
#include <chrono>

struct 規則計測 {
    static inline bool 有効 = false;
    static inline qint64 ns = 0;
    static inline int depth = 0;
};

class 規則計測区間 {
public:
    規則計測区間()
    {
        if (規則計測::有効 && 規則計測::depth++ == 0)
            start_ = std::chrono::steady_clock::now();
    }
    ~規則計測区間()
    {
        if (規則計測::有効 && --規則計測::depth == 0)
            規則計測::ns += std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now() - start_).count();
    }
    規則計測区間(const 規則計測区間&) = delete;
    規則計測区間& operator=(const 規則計測区間&) = delete;

private:
    std::chrono::steady_clock::time_point start_;
};
