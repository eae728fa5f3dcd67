// A Java host through bindings/java/Tzc04182.java, for bindings_test.sh; the same arguments and
// output as HostProgram.cs.
import java.nio.file.Files;
import java.nio.file.Paths;
import java.util.Arrays;

public final class HostProgram {
    public static void main(String[] args) throws Exception {
        final Object[] parameters = {"", "", "", "N", "N", "PDV", "", "S", "N", "N", "N", "N", "", "N", "N", "S", "N", "N"};
        int last = 16, firstLast = -2, calls = 1;
        boolean rss = false;
        for (int i = 0; i < args.length; i++) {
            switch (args[i]) {
                case "--last": last = Integer.parseInt(args[++i]); break;
                case "--first-last": firstLast = Integer.parseInt(args[++i]); break;
                case "--calls": calls = Integer.parseInt(args[++i]); break;
                case "--context-chars": parameters[6] = "x".repeat(Integer.parseInt(args[++i])); break;
                case "--branch": Tzc04182.setBranchFile(args[++i]); break;
                case "--rss": rss = true; break;
                default:
                    final int equals = args[i].indexOf('=');
                    final int index = Integer.parseInt(args[i].substring(0, equals));
                    parameters[index] = args[i].substring(equals + 1);
                    if (index == 17)
                        last = 17;
            }
        }
        long afterWarmUp = 0;
        for (int call = 1; call <= calls; call++) {
            final int passed = (call == 1 && firstLast > -2 ? firstLast : last) + 1;
            try {
                final String[] slots = Tzc04182.run(Arrays.copyOf(parameters, passed));
                final StringBuilder line = new StringBuilder();
                for (int slot = 0; slot < 8; slot++)
                    line.append(slot == 0 ? "" : "|").append(slot).append('=').append(slots[slot]);
                System.out.println(line);
            } catch (Tzc04182.Failure failure) {
                System.out.println("error: " + failure.getMessage());
            }
            if (call == 50)
                afterWarmUp = residentKiB();
        }
        if (rss)
            System.out.println("rss: " + afterWarmUp + " " + residentKiB());
    }

    static long residentKiB() throws Exception {
        System.gc();
        for (String line : Files.readAllLines(Paths.get("/proc/self/status")))
            if (line.startsWith("VmRSS:"))
                return Long.parseLong(line.substring(6).trim().split(" ")[0]);
        return -1;
    }
}
