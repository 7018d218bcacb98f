// A three-block chain wired the way the generated models wire theirs: one
// one-element array per connection, owned here, seen by both ends.
#include "Add.h"
#include "CircularBuffer.h"
#include "Fork.h"
#include "Gain.h"

#include <cstdio>

int main()
{
    using namespace Quenrix;
    double in = 0, gained = 0, branchA = 0, branchB = 0, out = 0;

    Gain<double> gain;
    Fork<CircularBuffer<double>> fork;
    Add<double> add;

    gain.m_Gain = 0.5;
    fork.output.Initialize(2);
    add.input.Initialize(2);

    gain.input.SetBuffer(&in, 1, 1, 0);
    gain.output.SetBuffer(&gained, 1, 1, 0);
    fork.input.SetBuffer(&gained, 1, 1, 0);
    fork.output[0].SetBuffer(&branchA, 1, 1, 0);
    fork.output[1].SetBuffer(&branchB, 1, 1, 0);
    add.input[0].SetBuffer(&branchA, 1, 1, 0);
    add.input[1].SetBuffer(&branchB, 1, 1, 0);
    add.output.SetBuffer(&out, 1, 1, 0);

    std::printf("sample  input  output\n");
    for (int n = 0; n < 5; ++n) {
        in = n * 0.25;
        bool ok = gain.Run();
        ok &= fork.Run();
        ok &= add.Run();
        if (!ok)
            return 1;
        std::printf("%6d  %5.2f  %6.2f\n", n, in, out);
    }
    return 0;
}
