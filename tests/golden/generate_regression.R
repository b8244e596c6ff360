# Writes regression.txt: reference values for the whole-array statistics,
# the line, polynomial and series fits, computed once with R (lm, cor, cov,
# chisq.test, median, predict) and committed, so that the tests need no R.
# Run from this folder: Rscript generate_regression.R
#
# Each case: "case LABEL TOLERANCE", "formula TEXT" (display form, its
# ranges over the columns that follow), one "col" line per worksheet column
# from A on (rows from 1), then "expect" with the result's values (an
# array's row by row). Inverse t quantiles are found to 1e-6 and normal
# ones to 1e-8 relative, which bounds the confidence half-widths.

set.seed(20261207)
out <- character()
num <- function(v) paste(format(v, digits = 17), collapse = " ")
add <- function(label, tolerance, formula, cols, expect) {
  stopifnot(all(is.finite(expect)))
  out <<- c(out, paste("case", label, format(tolerance)), paste("formula", formula))
  for (col in cols) out <<- c(out, paste("col", num(col)))
  out <<- c(out, paste("expect", num(expect)))
}
rng <- function(n) sprintf("%d", n)
colrange <- function(letter, n) paste0(letter, "1:", letter, n)

# Pairs of lists, fully filled.
for (n in c(5, 20, 200)) {
  x <- round(runif(n, -50, 150), 3)
  y <- 3.25 - 0.75 * x + rnorm(n, sd = 7)
  A <- colrange("A", n)
  B <- colrange("B", n)
  fit <- lm(y ~ x)
  add(paste0("correl", n), 1e-12, sprintf("=CORREL(A1:A%d,B1:B%d)", n, n), list(x, y), cor(x, y))
  add(paste0("pearson", n), 1e-12, sprintf("=PEARSON(A1:A%d,B1:B%d)", n, n), list(x, y), cor(x, y))
  add(paste0("rsq", n), 1e-12, sprintf("=RSQ(A1:A%d,B1:B%d)", n, n), list(x, y), cor(x, y)^2)
  add(paste0("covar", n), 1e-12, sprintf("=COVAR(A1:A%d,B1:B%d)", n, n), list(x, y), cov(x, y) * (n - 1) / n)
  add(paste0("slope", n), 1e-12, sprintf("=SLOPE(B1:B%d,A1:A%d)", n, n), list(x, y), coef(fit)[[2]])
  add(paste0("intercept", n), 1e-12, sprintf("=INTERCEPT(B1:B%d,A1:A%d)", n, n), list(x, y), coef(fit)[[1]])
  add(paste0("forecast", n), 1e-12, sprintf("=FORECAST(17.5,B1:B%d,A1:A%d)", n, n), list(x, y),
      predict(fit, data.frame(x = 17.5))[[1]])
  add(paste0("steyx", n), 1e-12, sprintf("=STEYX(B1:B%d,A1:A%d)", n, n), list(x, y), summary(fit)$sigma)
  add(paste0("linest", n), 1e-12, sprintf("=LINEST(B1:B%d,A1:A%d,)", n, n), list(x, y), coef(fit))
  add(paste0("linest0_", n), 1e-12, sprintf("=LINEST(B1:B%d,A1:A%d,0)", n, n), list(x, y),
      c(0, coef(lm(y ~ x - 1))[[1]]))
  newx <- c(-3, 0.5, 99)
  add(paste0("trend", n), 1e-12, sprintf("=TREND(B1:B%d,A1:A%d,C1:C3,)", n, n), list(x, y, newx),
      predict(fit, data.frame(x = newx)))
  # Without known x, the rows stand at 2, 3, 4, ...
  fitRows <- lm(y ~ I(seq_len(n) + 1))
  add(paste0("trend_rows", n), 1e-12, sprintf("=TREND(B1:B%d,,,)", n), list(x, y), fitted(fitRows))
  add(paste0("median", n), 1e-15, sprintf("=MEDIAN(A1:A%d)", n), list(x), median(x))
  add(paste0("median_odd", n), 1e-15, sprintf("=MEDIAN(A2:A%d)", n), list(x), median(x[-1]))
}

# Chi-square tests: a vector against given proportions, a table against
# its independence expectation.
for (n in c(4, 12)) {
  o <- rpois(n, 40) + 1
  e <- sum(o) * prop.table(runif(n, 0.5, 1.5))
  test <- suppressWarnings(chisq.test(o, p = e / sum(e)))
  add(paste0("chitest2_vector", n), 1e-12, sprintf("=CHITEST2(A1:A%d,B1:B%d)", n, n), list(o, e), test$statistic[[1]])
  add(paste0("chitest_vector", n), 1e-12, sprintf("=CHITEST(A1:A%d,B1:B%d)", n, n), list(o, e),
      pchisq(test$statistic[[1]], test$parameter[[1]]))
}
table <- matrix(rpois(12, 30) + 1, nrow = 4)
test <- suppressWarnings(chisq.test(table, correct = FALSE))
add("chitest2_table", 1e-12, "=CHITEST2(A1:C4,D1:F4)", c(split(table, col(table)), split(test$expected, col(table))),
    test$statistic[[1]])
add("chitest_table", 1e-12, "=CHITEST(A1:C4,D1:F4)", c(split(table, col(table)), split(test$expected, col(table))),
    pchisq(test$statistic[[1]], test$parameter[[1]]))

# Orthogonal-polynomial fits: the coefficients of the orthonormal basis
# (leading coefficients positive), the residual chi-squares of each degree,
# and the values and bands at some points.
orthonormal <- function(t, y, w, r) {
  X <- outer(t, 0:(r - 1), "^")
  q <- qr(sqrt(w) * X)
  Q <- qr.Q(q) %*% diag(sign(diag(qr.R(q))), r)
  x <- drop(crossprod(Q, sqrt(w) * y))
  chi2 <- vapply(1:r, function(j) sum((sqrt(w) * y - Q[, 1:j, drop = FALSE] %*% x[1:j])^2), 0)
  list(x = x, chi2 = chi2)
}
for (case in list(c(12, 3), c(30, 5))) {
  n <- case[1]
  r <- case[2]
  t <- sort(round(runif(n, 0, 10), 2))
  sy <- round(runif(n, 0.5, 2), 2)
  y <- 1 + 0.5 * t - 0.08 * t^2 + rnorm(n, sd = sy)
  w <- 1 / sy^2
  ref <- orthonormal(t, y, w, r)
  f <- sprintf("=POLYREG(A1:A%d,B1:B%d,C1:C%d,%d,%%d)", n, n, n, r)
  add(sprintf("polyreg_x_%d_%d", n, r), 1e-11, sprintf(f, 1), list(t, y, sy), ref$x)
  add(sprintf("polyreg_chi2_%d_%d", n, r), 1e-11, sprintf(f, 3), list(t, y, sy), ref$chi2)
  fit <- lm(y ~ poly(t, r - 1, raw = TRUE), weights = w)
  at <- c(-1, 2.5, 11)
  pred <- predict(fit, data.frame(t = at), se.fit = TRUE)
  sigma <- summary(fit)$sigma
  # POLYPOINTS reads the coefficients, polynomials and chi-squares that
  # POLYREG returns; a non-negative chi-square asks for the normal band.
  points <- sprintf("=POLYPOINTS(POLYREG(A1:A%d,B1:B%d,C1:C%d,%d,1),POLYREG(A1:A%d,B1:B%d,C1:C%d,%d,2),POLYREG(A1:A%d,B1:B%d,C1:C%d,%d,3),%d,%d,D1:D3,0.95)",
                    n, n, n, r, n, n, n, r, n, n, n, r, n, r)
  add(sprintf("polypoints_%d_%d", n, r), 1e-8, points, list(t, y, sy, at),
      as.vector(rbind(pred$fit, qnorm(0.975) * pred$se.fit / sigma)))
}

# Moving polynomials: each window's least-squares polynomial, its value and
# band at the centre, and the end windows' values and bands beyond the data.
timeseries <- function(y, l, k, p) {
  n <- length(y)
  eta <- numeric(n + 2 * k)
  conf <- numeric(n + 2 * k)
  q <- qt((p + 1) / 2, 2 * k - l)
  local <- -k:k
  for (i in (2 * k + 1):n) {
    yw <- y[(i - 2 * k):i]
    fit <- lm(yw ~ poly(local, l, raw = TRUE))
    at <- 0
    if (i == 2 * k + 1) at <- c(at, (1:(2 * k)) - (2 * k + 1))
    if (i == n) at <- c(at, 1:(2 * k))
    pos <- c(i, if (i == 2 * k + 1) 1:(2 * k), if (i == n) n + 1:(2 * k))
    pred <- predict(fit, data.frame(local = at), se.fit = TRUE)
    eta[pos] <- pred$fit
    conf[pos] <- pred$se.fit * q
  }
  as.vector(rbind(eta, conf))
}
for (case in list(c(15, 2, 3), c(9, 1, 4), c(40, 3, 5))) {
  n <- case[1]
  l <- case[2]
  k <- case[3]
  y <- 5 + sin((1:n) / 3) + rnorm(n, sd = 0.1)
  add(sprintf("timeseries_%d_%d_%d", n, l, k), 1e-6, sprintf("=TIMESERIES(A1:A%d,%d,%d,0.9)", n, l, k), list(y),
      timeseries(y, l, k, 0.9))
}

writeLines(out, "regression.txt")
