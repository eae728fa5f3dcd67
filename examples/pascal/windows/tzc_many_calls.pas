{ A Free Pascal host for 64-bit Windows that calls tzc04182.dll many times through the raw import,
  with its own OleVariants, as a till written in Object Pascal does, and frees every result.

      tzc_many_calls [CALLS]        (default 300)

  Sets a scripted customer (TZC_INPUT, one customer a call) before its first call, makes CALLS
  calls and checks the eight slots of each; every 50 calls it makes a call without parameter 6 and
  one whose result is no array, shows what its try..except catches, and goes on. Prints
  "caught: CLASS: MESSAGE", "exception argument: TEXT", "tzc_last_error: TEXT" for the first of
  each, then "ok: N calls", or "FAIL: ..." and exits 1.

  Build: ppcx64 -Twin64 -Mobjfpc @build-fpc-win64/fpc-win64.cfg -Fu<dir of Tzc04182.pas>
         -FU<units> -FE<dir of tzc04182.dll> tzc_many_calls.pas }
program tzc_many_calls;

{$mode objfpc}{$H+}
{$codepage utf8}
{$apptype console}

uses
  Windows, Variants, SysUtils, Tzc04182;

{ The message of the last failed call, which the module also gives with its exception. }
function tzc_last_error: PAnsiChar; external 'tzc04182.dll';

const
  Customer = '52998224725{Enter}MARIA GONÇALVES{Enter}RUA DAS FLORES 100{Enter}';
  Expected: array[0..7] of UnicodeString = ('52998224725', 'MARIA GONÇALVES', 'RUA DAS FLORES 100',
    'N', 'N', 'N', '', 'N');
  ErrorsEvery = 50;

var
  Calls, Done: Integer;
  Shown: Boolean = False;

procedure Fail(const Why: string);
begin
  WriteLn('FAIL at call ', Done, ': ', Why);
  Halt(1);
end;

{ One customer a call, each after a pause, and one more for each call whose result is no array. }
procedure SetScript;
var
  Script: UnicodeString;
  I: Integer;
begin
  Script := '';
  for I := 1 to Calls + Calls div ErrorsEvery do
  begin
    if I > 1 then
      Script := Script + '{wait 1s}';
    Script := Script + Customer;
  end;
  SetEnvironmentVariableW('TZC_INPUT', PWideChar(Script));
  SetEnvironmentVariableW('TZC_SCREEN', 'headless');
end;

{ The typical call: texts as the host's runtime makes them, a WideString (a BSTR) or a string
  literal (the runtime's own string type). }
function TypicalParams: specialize TArray<Variant>;
const
  Flags: array[3..16] of string = ('N', 'N', 'PDV', '', 'S', 'N', 'N', 'N', 'N', '', 'N', 'N', 'S', 'N');
var
  I: Integer;
begin
  Result := nil;
  SetLength(Result, 17);
  for I := 0 to 2 do
    Result[I] := WideString('');
  for I := 3 to 16 do
    Result[I] := Flags[I];
end;

procedure CheckedCall;
var
  Params: specialize TArray<Variant>;
  Answers: OleVariant;
  I: Integer;
begin
  Params := TypicalParams;
  Answers := VarArrayCreate([0, 7], varVariant);
  Answers[0] := WideString('what the host put there');
  CriaInfAdicional(Params, Answers);
  Inc(Done);
  for I := 0 to 7 do
    if (VarType(Answers[I]) <> varOleStr) or (WideString(Answers[I]) <> Expected[I]) then
      Fail(Format('slot %d is "%s"', [I, UTF8Encode(WideString(Answers[I]))]));
  Answers := Unassigned; { VariantClear: the module's strings are the system's BSTRs }
end;

procedure Report(Failure: Exception);
begin
  if Shown then
    Exit;
  WriteLn('caught: ', Failure.ClassName, ': ', Failure.Message);
  if Failure is EExternal then
    WriteLn('exception argument: ', PAnsiChar(EExternal(Failure).ExceptionRecord^.ExceptionInformation[0]));
  WriteLn('tzc_last_error: ', tzc_last_error);
end;

{ A call without parameter 6 (fails before the dialog), then one whose result is no array (fails
  after the dialog ran): each must reach this try..except and leave the module usable. }
procedure FailingCalls;
var
  Params: specialize TArray<Variant>;
  Answers: OleVariant;
begin
  Params := Copy(TypicalParams, 0, 6);
  Answers := VarArrayCreate([0, 7], varVariant);
  try
    CriaInfAdicional(Params, Answers);
    Fail('a call without parameter 6 worked');
  except
    on Failure: Exception do
    begin
      Report(Failure);
      if StrPas(tzc_last_error) <> 'parameter 6 is missing' then
        Fail('the message is "' + StrPas(tzc_last_error) + '"');
    end;
  end;
  Params := TypicalParams;
  Answers := 'not an array';
  try
    CriaInfAdicional(Params, Answers);
    Fail('a result that is no array worked');
  except
    on Failure: Exception do
    begin
      Report(Failure);
      if StrPas(tzc_last_error) <> 'Variant is not an array' then
        Fail('the message is "' + StrPas(tzc_last_error) + '"');
    end;
  end;
  Shown := True;
end;

begin
  Calls := StrToIntDef(ParamStr(1), 300);
  Done := 0;
  SetScript;
  while Done < Calls do
  begin
    CheckedCall;
    if Done mod ErrorsEvery = 0 then
      FailingCalls;
  end;
  WriteLn('ok: ', Done, ' calls');
end.
