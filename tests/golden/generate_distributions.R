# Writes distributions.csv: reference values for the distribution kernels and
# the statistical functions, computed once with R and committed, so that the
# tests need no R. Run from this folder: Rscript generate_distributions.R
#
# Columns: name, up to four arguments (empty when unused), the expected value
# and the relative tolerance. A name with "(" is a formula function called
# with the arguments; a list argument is written as an array constant. Other
# names are kernels called directly by the test.

rows <- list()
add <- function(name, args, expected, tolerance = 1e-12) {
  stopifnot(is.finite(expected))
  # Results below the smallest normal double are reported as "#NUM!".
  if (expected != 0 && abs(expected) < 2.2250738585072014e-308) return(invisible())
  texts <- vapply(args, function(a) if (is.character(a)) a else format(a, digits = 17), "")
  texts <- c(texts, rep("", 4 - length(texts)))
  rows[[length(rows) + 1]] <<- c(name, texts, format(expected, digits = 17), format(tolerance))
}
# With parameters in the thousands and beyond, R's own values stray from the
# exact ones by up to about 3e-12 (checked against 60-digit arithmetic for
# dbinom(999990, 1e6, 0.99999) and pbinom(7, 1e5, 1e-4)); such rows compare
# at 1e-11.
for_size <- function(...) if (max(abs(c(...))) >= 5000) 1e-11 else 1e-12
list_text <- function(v) paste0("{", paste(format(v, digits = 17), collapse = ", "), "}")

# Kernels.
for (x in c(1e-8, 0.1, 0.5, 1.5, 3, 10.5, 100, 12345.678, 1e10)) add("LnGamma", list(x), lgamma(x))
for (a in c(0.5, 1, 2.5, 10, 1000, 1e5)) for (f in c(1e-9, 0.01, 0.5, 0.9, 1, 1.1, 2, 5)) {
  x <- a * f
  add("IncompleteGamma", list(a, x), pgamma(x, a), for_size(a))
}
for (ab in list(c(0.5, 0.5), c(1, 3), c(2.5, 7), c(30, 2), c(500, 800), c(1e5, 1e5), c(0.5, 5e4))) {
  m <- ab[1] / (ab[1] + ab[2])
  for (x in unique(c(1e-9, 1e-3, m / 2, m, min(0.999999, m * 1.01), (1 + m) / 2, 0.999))) {
    if (x > 0 && x < 1) add("IncompleteBeta", list(ab[1], ab[2], x), pbeta(x, ab[1], ab[2]), for_size(ab))
  }
}

# Normal.
for (z in c(-37, -20, -8.5, -5, -3, -1.5, -0.5, -1e-3, -1e-8, 1e-8, 1e-3, 0.5, 1, 2.5, 5))
  add("NORMSDIST(", list(z), pnorm(z))
for (a in list(c(1, 0.5, 2), c(-3, 10, 0.25), c(1e6, 1e6 + 3, 2)))
  add("NORMDIST(", list(a[1], a[2], a[3], 1), pnorm(a[1], a[2], a[3]))
for (a in list(c(1, 0.5, 2), c(-3, 10, 4), c(0.1, 0, 1e-3)))
  add("NORMDIST(", list(a[1], a[2], a[3], 0), dnorm(a[1], a[2], a[3]))
for (p in c(1e-300, 1e-15, 1e-6, 0.01, 0.3, 0.7, 0.975, 1 - 1e-10)) add("NORMSINV(", list(p), qnorm(p), 1e-7)
for (a in list(c(0.2, 5, 2), c(0.99, -1, 0.5))) add("NORMINV(", as.list(a), qnorm(a[1], a[2], a[3]), 1e-7)
for (a in list(c(0.05, 2, 10), c(0.5, 1, 1))) add("CONFIDENCE(", as.list(a), qnorm(1 - a[1] / 2) * a[2] / sqrt(a[3]), 1e-7)

# Chi-square, t and F: lower tails.
for (n in c(1, 2, 5, 30, 1000, 1e5)) for (x in unique(c(1e-10, 1e-3 * n, 0.5 * n, n, 1.5 * n, n + 5 * sqrt(2 * n))))
  add("CHIDIST(", list(x, n), pchisq(x, n), for_size(n))
add("CHIDIST(", list(10000, 10000), pchisq(10000, 10000))
for (n in c(1, 3, 100, 1e5)) for (p in c(1e-10, 0.05, 0.5, 0.95, 1 - 1e-9))
  add("CHIINV(", list(p, n), qchisq(p, n), 1e-7)
for (n in c(1, 2, 5, 30, 1000, 1e5)) for (t in c(-50, -5, -1, -1e-3, 0.3, 2, 10))
  add("TDIST(", list(t, n), pt(t, n), for_size(n))
for (n in c(1, 4, 50, 1e5)) for (p in c(0.001, 0.1, 0.4, 0.8, 0.999))
  add("TINV(", list(p, n), qt(p, n), 1e-5)
for (d in list(c(1, 1), c(2, 7), c(5, 3), c(10, 100), c(5000, 5000), c(1e5, 10)))
  for (x in c(1e-4, 0.5, 1, 3, 50)) {
    add("FDIST(", list(x, d[1], d[2]), pf(x, d[1], d[2]), for_size(d))
    add("FDISTP(", list(x, d[1], d[2]), df(x, d[1], d[2]), for_size(d))
  }
for (d in list(c(1, 1), c(3, 12), c(40, 40), c(5000, 5000))) for (p in c(0.01, 0.5, 0.9, 0.99999))
  add("FINV(", list(p, d[1], d[2]), qf(p, d[1], d[2]), 1e-7)

# Discrete distributions.
for (a in list(c(0, 10, 0.3), c(3, 10, 0.3), c(200, 1000, 0.2), c(5e5, 1e6, 0.5), c(10, 1e6, 1e-5),
               c(999990, 1e6, 0.99999), c(7, 1e5, 1e-4))) {
  add("BINOMDIST(", list(a[1], a[2], a[3], 0), dbinom(a[1], a[2], a[3]), for_size(a[2]))
  add("BINOMDIST(", list(a[1], a[2], a[3], 1), pbinom(a[1], a[2], a[3]), for_size(a[2]))
}
for (a in list(c(1e6, 0.5, 0.5), c(20, 0.3, 0.77), c(1000, 0.01, 0.999), c(5e5, 0.2, 0.01)))
  add("CRITBINOM(", as.list(a), qbinom(a[3], a[1], a[2]), 0)
for (a in list(c(0, 3), c(2, 3), c(10, 2.5), c(500, 480), c(1e5, 1e5 + 300), c(3, 1e-3)))
  for (c in 0:1)
    add("POISSON(", list(a[1], a[2], c), if (c) ppois(a[1], a[2]) else dpois(a[1], a[2]), for_size(a[2]))
for (a in list(c(1, 4, 8, 20), c(0, 3, 5, 10), c(150, 400, 500, 1000), c(5000, 1e4, 5e5, 1e6)))
  add("HYPGEOMDIST(", as.list(a), dhyper(a[1], a[3], a[4] - a[3], a[2]), for_size(a[4]))

# Exponential and Weibull.
for (a in list(c(1e-10, 2), c(0.5, 3), c(40, 0.5))) {
  add("EXPONDIST(", list(a[1], a[2], 1), pexp(a[1], a[2]))
  add("EXPONDIST(", list(a[1], a[2], 0), dexp(a[1], a[2]))
}
for (a in list(c(1e-6, 2, 3), c(2, 0.5, 1), c(10, 20, 12))) {
  add("WEIBULL(", list(a[1], a[2], a[3], 1), pweibull(a[1], a[2], a[3]))
  add("WEIBULL(", list(a[1], a[2], a[3], 0), dweibull(a[1], a[2], a[3]))
}
for (x in c(-0.999, 1e-9, 0.75)) add("FISHER(", list(x), atanh(x))
for (y in c(-3, 1e-9, 0.5)) add("FISHERINV(", list(y), tanh(y))

# Aggregates and tests over lists.
a <- c(1345, 1301, 1368, 1322, 1310, 1370, 1318, 1350, 1303, 1299)
b <- c(1e8 + 1, 1e8 + 2, 1e8 + 3, 1e8 + 7)
cc <- c(3, 4, 5, 2, 3, 4, 5, 6, 4, 7)
for (v in list(a, b, cc)) {
  n <- length(v)
  add("VAR(", list(list_text(v)), var(v))
  add("STDEV(", list(list_text(v)), sd(v))
  add("VARP(", list(list_text(v)), var(v) * (n - 1) / n)
  add("STDEVP(", list(list_text(v)), sqrt(var(v) * (n - 1) / n))
  add("AVERAGE(", list(list_text(v)), mean(v))
  add("DEVSQ(", list(list_text(v)), sum((v - mean(v))^2))
  add("AVEDEV(", list(list_text(v)), mean(abs(v - mean(v))))
  add("GEOMEAN(", list(list_text(v)), exp(mean(log(v))))
  add("HARMEAN(", list(list_text(v)), 1 / mean(1 / v))
  z <- (v - mean(v)) / sd(v)
  add("SKEW(", list(list_text(v)), n / ((n - 1) * (n - 2)) * sum(z^3))
  add("KURT(", list(list_text(v)), n * (n + 1) / ((n - 1) * (n - 2) * (n - 3)) * sum(z^4) -
        3 * (n - 1)^2 / ((n - 2) * (n - 3)))
  for (k in c(0.1, 0.5, 0.9)) add("PERCENTILE(", list(list_text(v), k), quantile(v, k, type = 7, names = FALSE))
}
x1 <- c(3, 4, 5, 8, 9, 1, 2, 4, 5)
x2 <- c(6, 19, 3, 2, 14, 4, 5, 17, 1)
tt <- t.test(x1, x2, var.equal = TRUE)
add("TTEST(", list(list_text(x1), list_text(x2), 2), tt$p.value)
add("TTEST(", list(list_text(x1), list_text(x2), 1), tt$p.value / 2)
add("TTEST2(", list(list_text(x1), list_text(x2)), unname(tt$statistic))
f1 <- c(6, 7, 9, 15, 21)
f2 <- c(20, 28, 31, 38, 40)
add("FTEST(", list(list_text(f1), list_text(f2)), pf(var(f2) / var(f1), 4, 4))
p1 <- c(9, 7, 5, 3, 1)
p2 <- c(10, 6, 1, 5, 3)
add("PEARSON(", list(list_text(p1), list_text(p2)), cor(p1, p2))
add("RSQ(", list(list_text(p1), list_text(p2)), cor(p1, p2)^2)
sy <- c(2, 3, 9, 1, 8)
sx <- c(6, 5, 11, 7, 5)
add("STEYX(", list(list_text(sy), list_text(sx)), sqrt(sum(residuals(lm(sy ~ sx))^2) / (length(sy) - 2)))
zv <- c(3, 6, 7, 8, 6, 5, 4, 2, 1, 9)
zz <- (mean(zv) - 4) / (sd(zv) / sqrt(length(zv)))
add("ZTEST(", list(list_text(zv), 4), pnorm(-zz))
add("ZTEST2(", list(list_text(zv), 4), zz)

out <- do.call(rbind, rows)
colnames(out) <- c("name", "a", "b", "c", "d", "expected", "tolerance")
write.csv(out, "distributions.csv", row.names = FALSE, quote = TRUE)
