// A program made only for the module tests: it carries a version block, as every program of
// the suite does.

int main()
{
    return 0;
}
