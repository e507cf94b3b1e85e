// The smallest Windows program: what starting any program under Wine costs, the
// baseline for tarnview.exe's start-up.
int main()
{
    return 0;
}
