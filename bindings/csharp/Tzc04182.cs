// Tzc04182 for C# hosts: add this one file to the host's project.
//
//     Tzc04182.SetBranchFile(@"C:\PDV\PARAMETROSVLX.CDS");    // once, before the first call
//     string[] slots = Tzc04182.Run("", "", "", "N", "N", "PDV", "", "S",
//                                   "N", "N", "N", "N", "", "N", "N", "S", "N");
//
// Run takes the 17 parameters (or 18, element 17 "S" for CNPJs with letters) as .NET values and
// returns the eight slots; an error of the call is a Tzc04182Exception with the module's message.
// Call it on the host's user-interface thread, one call at a time (docs/integration.md).
//
// Runtimes: .NET Framework and .NET 6 or later on Windows x86 and x64 (tzc04182.dll beside the
// host's executable), Mono and .NET 6 or later on Linux (libtzc04182.so.1 where the loader finds
// it: the Debian package, or LD_LIBRARY_PATH). Nothing to configure: no dllmap, no resolver.
using System;
using System.Globalization;
using System.Runtime.InteropServices;
using System.Text;

public sealed class Tzc04182Exception : Exception
{
    public Tzc04182Exception(string message) : base(message) { }
}

public static class Tzc04182
{
    // Values the module reads as text: a string, an integer, Null (null or DBNull); any other
    // value goes as its text in the invariant culture (true as "True", 2.5 as "2.5"). Fewer than
    // 17 values: the optional ones are absent, and a call without element 0 to 7 fails with the
    // module's "parameter N is missing".
    public static string[] Run(params object[] parameters)
    {
        if (parameters == null || parameters.Length > 18)
            throw new ArgumentException("Tzc04182.Run takes 17 or 18 parameters");
        var values = new Variant[parameters.Length];
        Variant result = Native.Array(0, 7);
        try {
            for (int i = 0; i < parameters.Length; i++)
                values[i] = Make(parameters[i]);
            var error = new byte[4096];
            // An empty vector still needs an address: the module reads it as no element.
            var passed = values.Length > 0 ? values : new Variant[1];
            if (Native.Call(passed, values.Length - 1, ref result, error) != 0)
                throw new Tzc04182Exception(FromUtf8(error));
            var slots = new string[8];
            for (int slot = 0; slot < 8; slot++)
                slots[slot] = Native.Text(Native.Element(ref result, slot));
            return slots;
        } finally {
            for (int i = 0; i < values.Length; i++)
                Native.Clear(ref values[i]);
            Native.Clear(ref result);
        }
    }

    // The branch parameter file (its first record's NRINSJURFILI is the branch's own CNPJ, which
    // the till refuses as a customer's document), a full path; null names none. Unnamed, the
    // module looks beside the process's executable, which for Mono and "dotnet" is the runtime's
    // folder: a host run by a runtime names its file. A named file that is missing fails the call.
    public static void SetBranchFile(string path)
    {
        if (Native.SetBranchFile(path == null ? null : ToUtf8(path)) != 0)
            throw new Tzc04182Exception("the branch file's name cannot be kept");
    }

    public static string Version { get { return Marshal.PtrToStringAnsi(Native.Version()); } }

    static Variant Make(object value)
    {
        if (value == null || value is DBNull)
            return Native.Null();
        if (value is int || value is short || value is sbyte || value is byte || value is ushort)
            return Native.Int(Convert.ToInt32(value, CultureInfo.InvariantCulture));
        string text = value as string ?? Convert.ToString(value, CultureInfo.InvariantCulture);
        return Native.String(ToUtf8(text));
    }

    static byte[] ToUtf8(string text)
    {
        var bytes = new byte[Encoding.UTF8.GetByteCount(text) + 1];
        Encoding.UTF8.GetBytes(text, 0, text.Length, bytes, 0);
        return bytes;
    }

    static string FromUtf8(byte[] bytes)
    {
        int length = Array.IndexOf(bytes, (byte)0);
        return Encoding.UTF8.GetString(bytes, 0, length < 0 ? bytes.Length : length);
    }

    // tzc_variant: the OLE VARIANT's layout, 16 bytes on 32-bit and 24 on 64-bit. Only the module
    // reads or writes what it holds; the host keeps it and hands it back. Blittable, so arrays of
    // it go to the module as a plain pointer (an object[] would be marshalled as OLE VARIANTs,
    // which Mono on Linux cannot do).
    [StructLayout(LayoutKind.Sequential)]
    struct Variant
    {
        public ushort vt, reserved1, reserved2, reserved3;
        public IntPtr value, record;
    }

    // The declarations, twice: the library's file and two types differ by platform, and a
    // declaration is only bound when first called, so the other platform's are never looked up.
    // The library is named by the file the system's loader takes: on Windows "tzc04182" (the
    // runtime adds ".dll"); on Linux the SONAME "libtzc04182.so.1", which is what the runtime
    // package installs (plain "tzc04182" makes Mono and .NET look for libtzc04182.so, which only
    // the -dev package has). This needs neither a dllmap (Mono only) nor a DllImportResolver
    // (.NET 6 only, and one per assembly, which the host's own code may already have set).
    static class Native
    {
        static readonly bool Windows = Environment.OSVersion.Platform == PlatformID.Win32NT;

        public static Variant String(byte[] utf8) { return Windows ? Win.tzc_variant_string(utf8) : Unix.tzc_variant_string(utf8); }
        public static Variant Int(int value) { return Windows ? Win.tzc_variant_int(value) : Unix.tzc_variant_int(value); }
        public static Variant Null() { return Windows ? Win.tzc_variant_null() : Unix.tzc_variant_null(); }
        public static Variant Array(int lower, int upper) { return Windows ? Win.tzc_variant_array(lower, upper) : Unix.tzc_variant_array(lower, upper); }
        public static IntPtr Element(ref Variant array, int index) { return Windows ? Win.tzc_array_element(ref array, index) : Unix.tzc_array_element(ref array, index); }
        public static void Clear(ref Variant value) { if (Windows) Win.tzc_variant_clear(ref value); else Unix.tzc_variant_clear(ref value); }
        public static IntPtr Version() { return Windows ? Win.tzc_version() : Unix.tzc_version(); }
        public static int SetBranchFile(byte[] utf8) { return Windows ? Win.tzc_set_branch_file(utf8) : Unix.tzc_set_branch_file(utf8); }

        public static int Call(Variant[] values, int lastIndex, ref Variant result, byte[] error)
        {
            var size = new UIntPtr((uint)error.Length);
            return Windows ? Win.CriaInfAdicionalC(values, lastIndex, ref result, error, size)
                           : Unix.CriaInfAdicionalC(values, lastIndex, ref result, error, size);
        }

        // A slot as text: its length asked first, then the bytes.
        public static string Text(IntPtr value)
        {
            long length = Windows ? Win.tzc_variant_to_utf8(value, null, UIntPtr.Zero)
                                  : (long)Unix.tzc_variant_to_utf8(value, null, UIntPtr.Zero);
            if (length < 0)
                throw new Tzc04182Exception("a slot holds no text");
            var bytes = new byte[length + 1];
            var size = new UIntPtr((uint)bytes.Length);
            if (Windows)
                Win.tzc_variant_to_utf8(value, bytes, size);
            else
                Unix.tzc_variant_to_utf8(value, bytes, size);
            return Encoding.UTF8.GetString(bytes, 0, (int)length);
        }
    }

    // Windows: on x86 the C entries are stdcall (the runtime also handles the hidden pointer of a
    // returned struct, which the callee pops); x64 has one convention and ignores this. The C
    // long of tzc_variant_to_utf8 is 32 bits on both.
    static class Win
    {
        const string Dll = "tzc04182";
        const CallingConvention Convention = CallingConvention.StdCall;
        [DllImport(Dll, CallingConvention = Convention)] public static extern Variant tzc_variant_string(byte[] utf8);
        [DllImport(Dll, CallingConvention = Convention)] public static extern Variant tzc_variant_int(int value);
        [DllImport(Dll, CallingConvention = Convention)] public static extern Variant tzc_variant_null();
        [DllImport(Dll, CallingConvention = Convention)] public static extern Variant tzc_variant_array(int lower, int upper);
        [DllImport(Dll, CallingConvention = Convention)] public static extern IntPtr tzc_array_element(ref Variant array, int index);
        [DllImport(Dll, CallingConvention = Convention)] public static extern int tzc_variant_to_utf8(IntPtr value, byte[] buffer, UIntPtr size);
        [DllImport(Dll, CallingConvention = Convention)] public static extern void tzc_variant_clear(ref Variant value);
        [DllImport(Dll, CallingConvention = Convention)] public static extern IntPtr tzc_version();
        [DllImport(Dll, CallingConvention = Convention)] public static extern int tzc_set_branch_file(byte[] utf8);
        [DllImport(Dll, CallingConvention = Convention)]
        public static extern int CriaInfAdicionalC([In] Variant[] values, int lastIndex, ref Variant result,
                                                   [Out] byte[] error, UIntPtr errorSize);
    }

    // Linux: cdecl; the C long is as wide as a pointer (8 bytes on x86-64, 4 on i386).
    static class Unix
    {
        const string So = "libtzc04182.so.1";
        const CallingConvention Convention = CallingConvention.Cdecl;
        [DllImport(So, CallingConvention = Convention)] public static extern Variant tzc_variant_string(byte[] utf8);
        [DllImport(So, CallingConvention = Convention)] public static extern Variant tzc_variant_int(int value);
        [DllImport(So, CallingConvention = Convention)] public static extern Variant tzc_variant_null();
        [DllImport(So, CallingConvention = Convention)] public static extern Variant tzc_variant_array(int lower, int upper);
        [DllImport(So, CallingConvention = Convention)] public static extern IntPtr tzc_array_element(ref Variant array, int index);
        [DllImport(So, CallingConvention = Convention)] public static extern IntPtr tzc_variant_to_utf8(IntPtr value, byte[] buffer, UIntPtr size);
        [DllImport(So, CallingConvention = Convention)] public static extern void tzc_variant_clear(ref Variant value);
        [DllImport(So, CallingConvention = Convention)] public static extern IntPtr tzc_version();
        [DllImport(So, CallingConvention = Convention)] public static extern int tzc_set_branch_file(byte[] utf8);
        [DllImport(So, CallingConvention = Convention)]
        public static extern int CriaInfAdicionalC([In] Variant[] values, int lastIndex, ref Variant result,
                                                   [Out] byte[] error, UIntPtr errorSize);
    }
}
