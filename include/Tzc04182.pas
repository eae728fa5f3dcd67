{ Tzc04182: the customer data dialog of the till, for Object Pascal hosts.

  Everywhere (Free Pascal on Linux and Windows, other Object Pascal compilers on Windows):
    CriaInfAdicionalTexto(Params, Slots) takes the parameters as UTF-8 texts (fewer than 17: the
    optional ones are absent), shows the dialog, and gives back the eight slots as UTF-8. An
    error of the call raises ETzcErro with the module's message. The unit frees all it made.
  On Windows also:
    CriaInfAdicional, the module's own entry, for hosts whose Variants are OLE's. The module
    stores BSTRs in Result; the host frees them as it frees any OleVariant.

  On Linux a Pascal OleVariant cannot carry a BSTR (Free Pascal's WideString is not one), so
  the text procedure is the way there. Link with the module: on Linux the program needs
  libtzc04182.so where the linker and the loader find it (-Fl, LD_LIBRARY_PATH or an rpath),
  on Windows tzc04182.dll beside the program. Free Pascal on Linux: compile the host with
  the directive $codepage utf8 (or -FcUTF8) so that its literals are UTF-8, and put cwstring in the
  program's uses to convert between UTF8String and UnicodeString. }
unit Tzc04182;

{$ifdef FPC}
  {$mode objfpc}{$H+}
{$endif}

interface

uses
  {$ifdef MSWINDOWS}Variants,{$endif} SysUtils;

type
  TTzcSlots = array[0..7] of UTF8String;
  ETzcErro = class(Exception);

procedure CriaInfAdicionalTexto(const Params: array of UTF8String; out Slots: TTzcSlots);

{ Names the branch parameter file, a full path (UTF-8); '' names none, and the module looks for
  PARAMETROSVLX.CDS beside the program. A named file that is missing fails the call. }
procedure DefineArquivoFilial(const Path: UTF8String);

{$ifdef MSWINDOWS}
{ No calling-convention directive: on Win32 the module takes Pascal's register convention here,
  and an open array keeps its High only in a Pascal convention. Win64 has one convention. }
procedure CriaInfAdicional(const Params: array of Variant; var Result: OleVariant); external 'tzc04182.dll';
{$endif}

implementation

const
  {$ifdef MSWINDOWS}
  TzcLibrary = 'tzc04182.dll';
  {$else}
  TzcLibrary = 'tzc04182';
  {$endif}
  TzcOk = 0;

type
  { The module's tzc_variant: the layout of an OLE VARIANT. }
  PTzcVariant = ^TTzcVariant;
  TTzcVariant = record
    VType: Word;
    Reserved1, Reserved2, Reserved3: Word;
    case Integer of
      0: (Bits: Int64);
      1: (Pointers: array[0..1] of Pointer);
  end;
  { C's long: 32 bits on Windows, a pointer's width on Linux. }
  {$ifdef MSWINDOWS}
  TCLong = LongInt;
  {$else}
  TCLong = PtrInt;
  {$endif}

{ The C entries: cdecl on Linux, stdcall on Win32 (Win64 has one convention for both). }
{$ifdef CPU386}
{ A C function that returns a tzc_variant takes a hidden pointer to it as its first argument;
  declared so, the call does not depend on how a Pascal compiler returns records. }
procedure tzc_variant_string(Value: PTzcVariant; Utf8: PAnsiChar);
  {$ifdef MSWINDOWS}stdcall{$else}cdecl{$endif}; external TzcLibrary name 'tzc_variant_string';
procedure tzc_variant_array(Value: PTzcVariant; Lower, Upper: LongInt);
  {$ifdef MSWINDOWS}stdcall{$else}cdecl{$endif}; external TzcLibrary name 'tzc_variant_array';
{$else}
function tzc_variant_string(Utf8: PAnsiChar): TTzcVariant;
  {$ifdef MSWINDOWS}stdcall{$else}cdecl{$endif}; external TzcLibrary name 'tzc_variant_string';
function tzc_variant_array(Lower, Upper: LongInt): TTzcVariant;
  {$ifdef MSWINDOWS}stdcall{$else}cdecl{$endif}; external TzcLibrary name 'tzc_variant_array';
{$endif}
function tzc_array_element(AArray: PTzcVariant; Index: LongInt): PTzcVariant;
  {$ifdef MSWINDOWS}stdcall{$else}cdecl{$endif}; external TzcLibrary name 'tzc_array_element';
function tzc_variant_to_utf8(Value: PTzcVariant; Buffer: PAnsiChar; Size: NativeUInt): TCLong;
  {$ifdef MSWINDOWS}stdcall{$else}cdecl{$endif}; external TzcLibrary name 'tzc_variant_to_utf8';
procedure tzc_variant_clear(Value: PTzcVariant);
  {$ifdef MSWINDOWS}stdcall{$else}cdecl{$endif}; external TzcLibrary name 'tzc_variant_clear';
function CriaInfAdicionalC(Params: PTzcVariant; LastIndex: LongInt; Answers: PTzcVariant; Error: PAnsiChar;
  ErrorSize: NativeUInt): LongInt;
  {$ifdef MSWINDOWS}stdcall{$else}cdecl{$endif}; external TzcLibrary name 'CriaInfAdicionalC';

function tzc_set_branch_file(Utf8Path: PAnsiChar): LongInt;
  {$ifdef MSWINDOWS}stdcall{$else}cdecl{$endif}; external TzcLibrary name 'tzc_set_branch_file';

procedure DefineArquivoFilial(const Path: UTF8String);
begin
  if tzc_set_branch_file(PAnsiChar(Path)) <> TzcOk then
    raise ETzcErro.Create('the branch file''s name cannot be kept');
end;

function MakeString(const Text: UTF8String): TTzcVariant;
begin
  {$ifdef CPU386}
  tzc_variant_string(@Result, PAnsiChar(Text));
  {$else}
  Result := tzc_variant_string(PAnsiChar(Text));
  {$endif}
end;

function MakeArray(Lower, Upper: LongInt): TTzcVariant;
begin
  {$ifdef CPU386}
  tzc_variant_array(@Result, Lower, Upper);
  {$else}
  Result := tzc_variant_array(Lower, Upper);
  {$endif}
end;

{ The text of one slot as UTF-8; empty when it holds none. }
function SlotText(Value: PTzcVariant): UTF8String;
var
  Needed: TCLong;
begin
  Result := '';
  if Value = nil then
    Exit;
  Needed := tzc_variant_to_utf8(Value, nil, 0);
  if Needed <= 0 then
    Exit;
  SetLength(Result, Needed);
  { A Pascal string keeps room for a terminating zero after its last character. }
  tzc_variant_to_utf8(Value, PAnsiChar(Result), NativeUInt(Needed) + 1);
end;

procedure CriaInfAdicionalTexto(const Params: array of UTF8String; out Slots: TTzcSlots);
var
  Vector: array of TTzcVariant;
  First: PTzcVariant;
  Answers: TTzcVariant;
  Error: array[0..1023] of AnsiChar;
  Message: UTF8String;
  I: Integer;
begin
  SetLength(Vector, Length(Params));
  FillChar(Answers, SizeOf(Answers), 0);
  try
    for I := 0 to High(Params) do
      Vector[I] := MakeString(Params[I]);
    Answers := MakeArray(0, 7);
    if Length(Vector) > 0 then
      First := @Vector[0]
    else
      First := nil;
    Error[0] := #0;
    if CriaInfAdicionalC(First, High(Params), @Answers, @Error[0], SizeOf(Error)) <> TzcOk then
    begin
      SetString(Message, PAnsiChar(@Error[0]), StrLen(PAnsiChar(@Error[0])));
      raise ETzcErro.Create(string(Message));
    end;
    for I := 0 to 7 do
      Slots[I] := SlotText(tzc_array_element(@Answers, I));
  finally
    for I := 0 to High(Vector) do
      tzc_variant_clear(@Vector[I]);
    tzc_variant_clear(@Answers);
  end;
end;

end.
