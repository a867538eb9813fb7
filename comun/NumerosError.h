// Every error number the program raises, in one place so no two rooms give one fault two numbers.
// Most are the numbers the old runtime gave the same faults, kept so callers can tell them apart.
#pragma once

namespace NumeroError {
inline constexpr long Generico = -1;                // a driver or link failure with its own text
inline constexpr long SinConexiones = 0;            // a comparison started without both sides
inline constexpr long Argumento = 5;                // an argument out of range or unknown
inline constexpr long CadenaVacia = 9;              // nothing to size a buffer with
inline constexpr long Tipos = 13;                   // a pair is not a hex number
inline constexpr long Acceso = 75;                  // a file that cannot be written
inline constexpr long SinElemento = 91;             // a required element is missing
inline constexpr long SinAtributo = 94;             // a required attribute is missing
inline constexpr long ClaveRepetida = 457;          // a key already in the collection
inline constexpr long ElementoNoEncontrado = 35601; // a control's node or item not found
inline constexpr long ClaveNoUnica = 35602;         // a control's key already in use
inline constexpr long LongitudIncorrecta = -2147221504;  // 0x80040000: odd-length cipher text
inline constexpr long AlgoritmoNoAdmitido = -2146893816; // 0x80090008: unknown algorithm id
} // namespace NumeroError
