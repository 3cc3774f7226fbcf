#pragma once

// Preprocessor iteration over the parameter lists of the host operation
// declarations (host/*.def). A list is a sequence of (type, name) pairs,
// "(BSTR, column)(I4, row)", or nothing for an operation without
// parameters; at most eight pairs. Pure preprocessor, no C++: the type
// library of the emulated host (an IDL run through the C preprocessor) uses
// it as well as the C++ headers.

#define VTX_SEQ_CAT(a, b) VTX_SEQ_CAT_(a, b)
#define VTX_SEQ_CAT_(a, b) a##b

// Separators for VTX_SEQ_FOR_EACH.
#define VTX_SEQ_COMMA() ,
#define VTX_SEQ_NONE()

// The number of pairs of `seq`.
#define VTX_SEQ_SIZE(seq) VTX_SEQ_CAT(VTX_SEQ_SIZE_0 seq, _END)
#define VTX_SEQ_SIZE_0(t, n) VTX_SEQ_SIZE_1
#define VTX_SEQ_SIZE_1(t, n) VTX_SEQ_SIZE_2
#define VTX_SEQ_SIZE_2(t, n) VTX_SEQ_SIZE_3
#define VTX_SEQ_SIZE_3(t, n) VTX_SEQ_SIZE_4
#define VTX_SEQ_SIZE_4(t, n) VTX_SEQ_SIZE_5
#define VTX_SEQ_SIZE_5(t, n) VTX_SEQ_SIZE_6
#define VTX_SEQ_SIZE_6(t, n) VTX_SEQ_SIZE_7
#define VTX_SEQ_SIZE_7(t, n) VTX_SEQ_SIZE_8
#define VTX_SEQ_SIZE_0_END 0
#define VTX_SEQ_SIZE_1_END 1
#define VTX_SEQ_SIZE_2_END 2
#define VTX_SEQ_SIZE_3_END 3
#define VTX_SEQ_SIZE_4_END 4
#define VTX_SEQ_SIZE_5_END 5
#define VTX_SEQ_SIZE_6_END 6
#define VTX_SEQ_SIZE_7_END 7
#define VTX_SEQ_SIZE_8_END 8

// M(type, name) for every pair of `seq`, in order, with sep() between two.
// M must not itself use VTX_SEQ_FOR_EACH.
#define VTX_SEQ_FOR_EACH(M, sep, seq) VTX_SEQ_CAT(VTX_SEQ_EACH_, VTX_SEQ_SIZE(seq))(M, sep, seq)

#define VTX_SEQ_TAIL(seq) VTX_SEQ_EAT seq
#define VTX_SEQ_EAT(t, n)
#define VTX_SEQ_SPLIT(t, n) t, n,
#define VTX_SEQ_CALL(M, ...) VTX_SEQ_CALL_(M, __VA_ARGS__)
#define VTX_SEQ_CALL_(M, t, n, ...) M(t, n)
#define VTX_SEQ_HEAD(M, seq) VTX_SEQ_CALL(M, VTX_SEQ_SPLIT seq)

#define VTX_SEQ_EACH_0(M, sep, seq)
#define VTX_SEQ_EACH_1(M, sep, seq) VTX_SEQ_HEAD(M, seq)
#define VTX_SEQ_EACH_2(M, sep, seq) \
  VTX_SEQ_HEAD(M, seq) sep() VTX_SEQ_EACH_1(M, sep, VTX_SEQ_TAIL(seq))
#define VTX_SEQ_EACH_3(M, sep, seq) \
  VTX_SEQ_HEAD(M, seq) sep() VTX_SEQ_EACH_2(M, sep, VTX_SEQ_TAIL(seq))
#define VTX_SEQ_EACH_4(M, sep, seq) \
  VTX_SEQ_HEAD(M, seq) sep() VTX_SEQ_EACH_3(M, sep, VTX_SEQ_TAIL(seq))
#define VTX_SEQ_EACH_5(M, sep, seq) \
  VTX_SEQ_HEAD(M, seq) sep() VTX_SEQ_EACH_4(M, sep, VTX_SEQ_TAIL(seq))
#define VTX_SEQ_EACH_6(M, sep, seq) \
  VTX_SEQ_HEAD(M, seq) sep() VTX_SEQ_EACH_5(M, sep, VTX_SEQ_TAIL(seq))
#define VTX_SEQ_EACH_7(M, sep, seq) \
  VTX_SEQ_HEAD(M, seq) sep() VTX_SEQ_EACH_6(M, sep, VTX_SEQ_TAIL(seq))
#define VTX_SEQ_EACH_8(M, sep, seq) \
  VTX_SEQ_HEAD(M, seq) sep() VTX_SEQ_EACH_7(M, sep, VTX_SEQ_TAIL(seq))

// An operation's result as the trailing (RETVAL(type), result) pair of its
// COM signature ([out, retval]); nothing for an operation without one.
#define VTX_RETVAL_SEQ(r) VTX_RETVAL_SEQ_##r
#define VTX_RETVAL_SEQ_void
#define VTX_RETVAL_SEQ_I2 (RETVAL(I2), result)
#define VTX_RETVAL_SEQ_I4 (RETVAL(I4), result)
#define VTX_RETVAL_SEQ_R8 (RETVAL(R8), result)
#define VTX_RETVAL_SEQ_VARIANT_BOOL (RETVAL(VARIANT_BOOL), result)
#define VTX_RETVAL_SEQ_BSTR (RETVAL(BSTR), result)
#define VTX_RETVAL_SEQ_VARIANT (RETVAL(VARIANT), result)
#define VTX_RETVAL_SEQ_OBJ(T) (RETVAL(OBJ(T)), result)
