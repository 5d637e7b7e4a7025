#include <cstdio>

int main()
{
    std::fputs("tevuna-lunar: not built yet\n", stderr);
    return 2;
}
