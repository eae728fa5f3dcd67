{ A Free Pascal host that calls the module through the unit Tzc04182, as a till written in
  Object Pascal does.

      tzc_host [--last N] [--raw] [--branch FILE] [I=VALUE]...

  Starts from the typical call (empty answers, name and address asked, document asked), sets
  parameter I to VALUE (UTF-8) for each I=VALUE, and prints the slots as "0=..." to "7=..." (a
  line feed as \n, a backslash as \\), or "error: TEXT" and exits 1 on an error of the call.
  --last N passes parameters 0 to N only. --raw, on Windows, calls the module's own entry with
  the program's OleVariants instead of the text procedure. --branch names the branch parameter
  file instead of the one beside the program. }
program tzc_host;

{$ifdef FPC}
  {$mode objfpc}{$H+}
{$endif}
{$ifdef MSWINDOWS}
  {$apptype console}
{$endif}

uses
  {$ifdef MSWINDOWS}Variants,{$endif} SysUtils, Tzc04182;

var
  Values: array of UTF8String;
  Last: Integer = -1;
  Raw: Boolean = False;

procedure Usage(const Why: string);
begin
  WriteLn(ErrOutput, 'error: ', Why);
  Halt(2);
end;

procedure ReadArguments;
const
  Typical: array[0..16] of string = ('', '', '', 'N', 'N', 'PDV', '', 'S', 'N', 'N', 'N', 'N', '', 'N', 'N', 'S', 'N');
var
  I, Index, Equals: Integer;
  Argument: string;
begin
  SetLength(Values, Length(Typical));
  for I := 0 to High(Typical) do
    Values[I] := Typical[I];
  I := 1;
  while I <= ParamCount do
  begin
    Argument := ParamStr(I);
    if (Argument = '--last') and (I < ParamCount) then
    begin
      Inc(I);
      Last := StrToIntDef(ParamStr(I), -2);
      if Last < -1 then
        Usage('--last takes a number');
    end
    else if Argument = '--raw' then
      Raw := True
    else if (Argument = '--branch') and (I < ParamCount) then
    begin
      Inc(I);
      DefineArquivoFilial(UTF8String(RawByteString(ParamStr(I))));
    end
    else
    begin
      Equals := Pos('=', Argument);
      Index := StrToIntDef(Copy(Argument, 1, Equals - 1), -1);
      if (Equals < 2) or (Index < 0) or (Index > 63) then
        Usage('not I=VALUE: ' + Argument);
      if Index > High(Values) then
        SetLength(Values, Index + 1);
      { The program's arguments are UTF-8 bytes on Linux: taken as they are. }
      Values[Index] := UTF8String(RawByteString(Copy(Argument, Equals + 1, Length(Argument))));
    end;
    Inc(I);
  end;
  if Last < 0 then
    Last := High(Values);
  SetLength(Values, Last + 1);
end;

procedure PrintSlot(Index: Integer; const Text: UTF8String);
var
  Line: RawByteString;
  I: Integer;
begin
  Line := IntToStr(Index) + '=';
  for I := 1 to Length(Text) do
    case Text[I] of
      #10: Line := Line + '\n';
      '\': Line := Line + '\\';
    else
      Line := Line + Text[I];
    end;
  WriteLn(Line);
end;

procedure CallWithTexts;
var
  Slots: TTzcSlots;
  I: Integer;
begin
  CriaInfAdicionalTexto(Values, Slots);
  for I := 0 to 7 do
    PrintSlot(I, Slots[I]);
end;

{$ifdef MSWINDOWS}
procedure CallWithOleVariants;
var
  Params: array of Variant;
  Answers: OleVariant;
  I: Integer;
begin
  SetLength(Params, Length(Values));
  for I := 0 to High(Values) do
    Params[I] := UTF8Decode(Values[I]);
  Answers := VarArrayCreate([0, 7], varVariant);
  CriaInfAdicional(Params, Answers);
  for I := 0 to 7 do
    PrintSlot(I, UTF8Encode(WideString(Answers[I])));
end;
{$endif}

begin
  ReadArguments;
  try
    if Raw then
    {$ifdef MSWINDOWS}
      CallWithOleVariants
    {$else}
      Usage('--raw is for Windows: on Linux a Pascal OleVariant cannot carry the module''s strings')
    {$endif}
    else
      CallWithTexts;
  except
    on Failure: Exception do
    begin
      WriteLn('error: ', Failure.Message);
      Halt(1);
    end;
  end;
end.
