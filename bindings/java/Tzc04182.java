// Tzc04182 for Java hosts, through JNA (5.x; Debian: libjna-java). Add this one file to the host's
// sources and jna.jar to its class path.
//
//     Tzc04182.setBranchFile("/opt/pdv/PARAMETROSVLX.CDS");   // once, before the first call
//     String[] slots = Tzc04182.run("", "", "", "N", "N", "PDV", "", "S",
//                                   "N", "N", "N", "N", "", "N", "N", "S", "N");
//
// run takes the 17 parameters (or 18, element 17 "S" for CNPJs with letters) as Java values and
// returns the eight slots; an error of the call is a Tzc04182.Failure with the module's message.
// Call it on the host's user-interface thread (for Swing, the event dispatch thread), one call at
// a time (docs/integration.md).
//
// Platforms: Windows x86 and x64 (tzc04182.dll beside the host's executable or on jna.library.path)
// and Linux (libtzc04182.so.1 where the loader finds it: the Debian package, or LD_LIBRARY_PATH).
import com.sun.jna.IntegerType;
import com.sun.jna.Library;
import com.sun.jna.Memory;
import com.sun.jna.Native;
import com.sun.jna.NativeLong;
import com.sun.jna.Platform;
import com.sun.jna.Pointer;
import com.sun.jna.Structure;
import com.sun.jna.win32.StdCallLibrary;

import java.nio.charset.StandardCharsets;
import java.util.Arrays;
import java.util.List;

public final class Tzc04182 {
    public static final class Failure extends RuntimeException {
        private static final long serialVersionUID = 1L;

        public Failure(String message) { super(message); }
    }

    private Tzc04182() {}

    // Values the module reads as text: a String, an Integer (Short, Byte), null (Null); any other
    // value goes as its String.valueOf (Boolean.TRUE as "true"). Fewer than 17 values: the
    // optional ones are absent, and a call without element 0 to 7 fails with the module's
    // "parameter N is missing".
    public static String[] run(Object... parameters) {
        if (parameters == null || parameters.length > 18)
            throw new IllegalArgumentException("Tzc04182.run takes 17 or 18 parameters");
        final int size = Variant.SIZE;
        final Memory values = new Memory((long) size * Math.max(parameters.length, 1));
        values.clear();
        final Memory result = new Memory(size);
        int made = 0;
        put(result, 0, API.tzc_variant_array(0, 7));
        try {
            for (; made < parameters.length; made++)
                put(values, (long) made * size, make(parameters[made]));
            final byte[] error = new byte[4096];
            if (API.CriaInfAdicionalC(values, parameters.length - 1, result, error, new SizeT(error.length)) != 0)
                throw new Failure(fromUtf8(error));
            final String[] slots = new String[8];
            for (int slot = 0; slot < 8; slot++)
                slots[slot] = text(API.tzc_array_element(result, slot));
            return slots;
        } finally {
            for (int i = 0; i < made; i++)
                API.tzc_variant_clear(values.share((long) i * size));
            API.tzc_variant_clear(result);
        }
    }

    // The branch parameter file (its first record's NRINSJURFILI is the branch's own CNPJ, which
    // the till refuses as a customer's document), a full path; null names none. Unnamed, the
    // module looks beside the process's executable, which for Java is the JVM's bin folder: a
    // Java host names its file. A named file that is missing fails the call.
    public static void setBranchFile(String path) {
        if (API.tzc_set_branch_file(path == null ? null : toUtf8(path)) != 0)
            throw new Failure("the branch file's name cannot be kept");
    }

    public static String version() { return API.tzc_version(); }

    private static Variant.ByValue make(Object value) {
        if (value == null)
            return API.tzc_variant_null();
        if (value instanceof Integer || value instanceof Short || value instanceof Byte)
            return API.tzc_variant_int(((Number) value).intValue());
        return API.tzc_variant_string(toUtf8(String.valueOf(value)));
    }

    // A Variant the module returned, copied into the host's block at offset.
    private static void put(Memory block, long offset, Variant.ByValue value) {
        block.write(offset, value.getPointer().getByteArray(0, Variant.SIZE), 0, Variant.SIZE);
    }

    private static String text(Pointer value) {
        final long length = API.tzc_variant_to_utf8(value, null, new SizeT(0)).longValue();
        if (length < 0)
            throw new Failure("a slot holds no text");
        final byte[] bytes = new byte[(int) length + 1];
        API.tzc_variant_to_utf8(value, bytes, new SizeT(bytes.length));
        return new String(bytes, 0, (int) length, StandardCharsets.UTF_8);
    }

    private static byte[] toUtf8(String text) {
        final byte[] utf8 = text.getBytes(StandardCharsets.UTF_8);
        return Arrays.copyOf(utf8, utf8.length + 1);  // zero-terminated
    }

    private static String fromUtf8(byte[] bytes) {
        int length = 0;
        while (length < bytes.length && bytes[length] != 0)
            length++;
        return new String(bytes, 0, length, StandardCharsets.UTF_8);
    }

    // tzc_variant: the OLE VARIANT's layout, 16 bytes on 32-bit and 24 on 64-bit. Only the module
    // reads or writes what it holds; here it is the type of the helpers' returned structs, which
    // JNA copies out of the hidden return buffer.
    public static class Variant extends Structure {
        static final int SIZE = Native.POINTER_SIZE == 8 ? 24 : 16;
        public short vt, reserved1, reserved2, reserved3;
        public Pointer value, record;

        public static class ByValue extends Variant implements Structure.ByValue {}

        @Override
        protected List<String> getFieldOrder() {
            return Arrays.asList("vt", "reserved1", "reserved2", "reserved3", "value", "record");
        }
    }

    // size_t: as wide as a pointer everywhere (the C long is not, on Windows x64).
    public static final class SizeT extends IntegerType {
        private static final long serialVersionUID = 1L;

        public SizeT() { this(0); }
        public SizeT(long value) { super(Native.SIZE_T_SIZE, value, true); }
    }

    // The C entries of include/tzc04182.h. The C long of tzc_variant_to_utf8 is NativeLong: 4
    // bytes on Windows, a pointer's width on Linux. Strings go in as zero-terminated UTF-8 bytes.
    public interface Api extends Library {
        Variant.ByValue tzc_variant_string(byte[] utf8);
        Variant.ByValue tzc_variant_int(int value);
        Variant.ByValue tzc_variant_null();
        Variant.ByValue tzc_variant_array(int lower, int upper);
        Pointer tzc_array_element(Pointer array, int index);
        NativeLong tzc_variant_to_utf8(Pointer value, byte[] buffer, SizeT size);
        void tzc_variant_clear(Pointer value);
        String tzc_version();
        int tzc_set_branch_file(byte[] utf8);
        int CriaInfAdicionalC(Pointer values, int lastIndex, Pointer result, byte[] error, SizeT errorSize);
    }

    // 32-bit Windows: the same entries, stdcall (exported by their plain names).
    public interface StdCallApi extends Api, StdCallLibrary {}

    // The file the system's loader takes: "tzc04182" on Windows (JNA adds ".dll"); on Linux the
    // SONAME libtzc04182.so.1, which the runtime package installs (plain "tzc04182" would look for
    // libtzc04182.so, which only the -dev package has).
    private static final Api API = Platform.isWindows()
            ? (Platform.is64Bit() ? Native.load("tzc04182", Api.class) : Native.load("tzc04182", StdCallApi.class))
            : Native.load("libtzc04182.so.1", Api.class);
}
