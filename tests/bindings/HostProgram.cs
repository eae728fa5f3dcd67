// A C# host through bindings/csharp/Tzc04182.cs, for bindings_test.sh:
//   HostProgram.exe [I=VALUE]... [--last N] [--first-last N] [--calls N] [--context-chars N]
//                   [--branch PATH] [--rss]
// Each call prints its eight slots "0=...|...|7=..." or "error: MESSAGE"; --first-last passes
// elements 0..N in the first call only; --rss prints the resident KiB after call 50 and the last.
using System;
using System.IO;
using System.Linq;

static class HostProgram
{
    static int Main(string[] args)
    {
        object[] parameters = { "", "", "", "N", "N", "PDV", "", "S", "N", "N", "N", "N", "", "N", "N", "S", "N", "N" };
        int last = 16, firstLast = -2, calls = 1;
        bool rss = false;
        for (int i = 0; i < args.Length; i++) {
            switch (args[i]) {
            case "--last": last = int.Parse(args[++i]); break;
            case "--first-last": firstLast = int.Parse(args[++i]); break;
            case "--calls": calls = int.Parse(args[++i]); break;
            case "--context-chars": parameters[6] = new string('x', int.Parse(args[++i])); break;
            case "--branch": Tzc04182.SetBranchFile(args[++i]); break;
            case "--rss": rss = true; break;
            default:
                int equals = args[i].IndexOf('=');
                int index = int.Parse(args[i].Substring(0, equals));
                parameters[index] = args[i].Substring(equals + 1);
                if (index == 17) last = 17;
                break;
            }
        }
        long afterWarmUp = 0;
        for (int call = 1; call <= calls; call++) {
            int passed = (call == 1 && firstLast > -2 ? firstLast : last) + 1;
            try {
                string[] slots = Tzc04182.Run(parameters.Take(passed).ToArray());
                Console.WriteLine(string.Join("|", slots.Select((slot, i) => i + "=" + slot)));
            } catch (Tzc04182Exception failure) {
                Console.WriteLine("error: " + failure.Message);
            }
            if (call == 50)
                afterWarmUp = ResidentKiB();
        }
        if (rss)
            Console.WriteLine("rss: " + afterWarmUp + " " + ResidentKiB());
        return 0;
    }

    static long ResidentKiB()
    {
        GC.Collect();
        GC.WaitForPendingFinalizers();
        string line = File.ReadAllLines("/proc/self/status").First(l => l.StartsWith("VmRSS:"));
        return long.Parse(line.Substring(6).Trim().Split(' ')[0]);
    }
}
